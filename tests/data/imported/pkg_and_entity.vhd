-- A package and the entity that uses it, in one file.
library ieee;
use ieee.std_logic_1164.all;

package shifter_types is
  type t_direction is (SHIFT_LEFT, SHIFT_RIGHT);
  subtype t_amount is natural range 0 to 7;
end package shifter_types;

library ieee;
use ieee.std_logic_1164.all;
use work.shifter_types.all;

entity shifter is
  generic (
    DIRECTION : t_direction := SHIFT_LEFT;
    AMOUNT    : t_amount    := 1
  );
  port (
    din  : in  std_logic_vector(7 downto 0);
    dout : out std_logic_vector(7 downto 0)
  );
end entity shifter;

architecture rtl of shifter is
begin
  g_left : if DIRECTION = SHIFT_LEFT generate
    dout <= din(7 - AMOUNT downto 0) & (AMOUNT - 1 downto 0 => '0');
  end generate;
  g_right : if DIRECTION = SHIFT_RIGHT generate
    dout <= (AMOUNT - 1 downto 0 => '0') & din(7 downto AMOUNT);
  end generate;
end architecture rtl;
