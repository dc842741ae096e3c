-- Push-button debouncer; the time constants are generics.
library ieee;
use ieee.std_logic_1164.all;

entity debounce is
  generic (
    CLK_PERIOD  : time := 20 ns;
    STABLE_TIME : time := 10 ms;
    GLITCH_FRAC : real := 0.25
  );
  port (
    clk    : in  std_logic;
    btn    : in  std_logic;
    btn_db : out std_logic
  );
end entity;

architecture rtl of debounce is
  constant COUNT_MAX : natural := STABLE_TIME / CLK_PERIOD;
  signal count  : natural range 0 to COUNT_MAX := 0;
  signal btn_ff : std_logic_vector(1 downto 0) := (others => '0');
  signal state  : std_logic := '0';
begin
  process(clk)
  begin
    if rising_edge(clk) then
      btn_ff <= btn_ff(0) & btn;
      if btn_ff(1) = state then
        count <= 0;
      elsif count = COUNT_MAX then
        state <= btn_ff(1);
        count <= 0;
      else
        count <= count + 1;
      end if;
    end if;
  end process;
  btn_db <= state;
end architecture;
