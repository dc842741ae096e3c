-- VHDL-2008: arrays of unconstrained vectors
library ieee;
use ieee.std_logic_1164.all;

package words_pkg is
  type t_word_array is array (natural range <>) of std_ulogic_vector;
  subtype t_byte is std_ulogic_vector(7 downto 0);
end package words_pkg;
