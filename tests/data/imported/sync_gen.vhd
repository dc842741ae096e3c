-- Generate alternatives with their own declarative parts and closing "end;" (VHDL-2008).
library ieee;
use ieee.std_logic_1164.all;

entity sync_gen is
  generic (
    A, B       : integer := 0;
    USE_RESET  : boolean := true
  );
  port (
    clk, rst, d : in  std_logic;
    q           : out std_logic
  );
end entity sync_gen;

architecture rtl of sync_gen is
begin
  g_reset : if with_reset : USE_RESET generate
    signal r : std_logic := '0';
  begin
    process(clk)
    begin
      if rising_edge(clk) then
        r <= '0' when rst = '1' else d;
      end if;
    end process;
    q <= r;
  end with_reset;
  else without_reset : generate
    signal r : std_logic := '0';
  begin
    r <= d when rising_edge(clk);
    q <= r;
  end without_reset;
  end generate g_reset;
end architecture rtl;
