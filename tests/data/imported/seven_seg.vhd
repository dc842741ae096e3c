-- Seven-segment decoder with aliases and a selected assignment.
library ieee;
use ieee.std_logic_1164.all;

entity seven_seg is
  port (
    digit   : in  std_logic_vector(3 downto 0);
    blank   : in  std_logic := '0';
    seg     : out std_logic_vector(6 downto 0)   -- gfedcba, active low
  );
end entity seven_seg;

architecture rtl of seven_seg is
  signal pattern : std_logic_vector(6 downto 0);
  alias seg_a : std_logic is pattern(0);
  alias high_nibble_is_zero is digit(3);
begin
  with digit select pattern <=
    "1000000" when x"0",
    "1111001" when x"1",
    "0100100" when x"2",
    "0110000" when x"3",
    "0011001" when x"4",
    "0010010" when x"5",
    "0000010" when x"6",
    "1111000" when x"7",
    "0000000" when x"8",
    "0010000" when x"9",
    "0111111" when others;
  seg <= (others => '1') when blank = '1' else pattern;
end architecture rtl;
