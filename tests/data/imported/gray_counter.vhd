-- Gray code counter built from generate statements.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity gray_counter is
  generic (WIDTH : positive := 4);
  port (
    clk, rst : in  std_logic;
    gray     : out std_logic_vector(WIDTH-1 downto 0)
  );
end gray_counter;

architecture rtl of gray_counter is
  signal bin : unsigned(WIDTH-1 downto 0) := (others => '0');
begin
  counter : process(clk)
  begin
    if rising_edge(clk) then
      if rst = '1' then
        bin <= (others => '0');
      else
        bin <= bin + 1;
      end if;
    end if;
  end process counter;

  msb : gray(WIDTH-1) <= bin(WIDTH-1);

  gen_bits : for i in WIDTH-2 downto 0 generate
    signal b : std_logic;
  begin
    b       <= bin(i+1) xor bin(i);
    gray(i) <= b;
  end generate gen_bits;
end rtl;
