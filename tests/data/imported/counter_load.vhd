-- Loadable up/down counter, written with Windows line ends.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity counter_load is
  generic (
    WIDTH : positive := 8;   -- counter width
    INIT  : natural  := 2**4 - 1
  );
  port (
    clk, rst  : in  std_logic;
    load      : in  std_logic;
    up        : in  std_logic;
    load_val  : in  unsigned(WIDTH-1 downto 0);
    count     : out unsigned(WIDTH-1 downto 0)
  );
end entity counter_load;

architecture rtl of counter_load is
  signal cnt : unsigned(WIDTH-1 downto 0) := to_unsigned(INIT, WIDTH);
begin
  process(clk)
  begin
    if rising_edge(clk) then
      if rst = '1' then
        cnt <= to_unsigned(INIT, WIDTH);
      elsif load = '1' then
        cnt <= load_val;
      elsif up = '1' then
        cnt <= cnt + 1;
      else
        cnt <= cnt - 1;
      end if;
    end if;
  end process;
  count <= cnt;
end architecture rtl;
