-- Shifter whose structure is picked by a case generate (VHDL-2008).
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity barrel_shifter is
  generic (
    WIDTH : positive := 16;
    MODE  : natural  := 0    -- 0: logical, 1: arithmetic, 2: rotate
  );
  port (
    din   : in  std_ulogic_vector(WIDTH-1 downto 0);
    shamt : in  natural range 0 to WIDTH-1;
    dout  : out std_ulogic_vector(WIDTH-1 downto 0)
  );
end entity;

architecture rtl of barrel_shifter is
begin
  g_mode : case MODE generate
    when 0 =>
      dout <= std_ulogic_vector(shift_right(unsigned(din), shamt));
    when 1 =>
      dout <= std_ulogic_vector(shift_right(signed(din), shamt));
    when others =>
      dout <= std_ulogic_vector(rotate_right(unsigned(din), shamt));
  end generate g_mode;
end architecture;
