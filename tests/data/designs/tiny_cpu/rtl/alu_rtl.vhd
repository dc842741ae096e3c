-- The operations of the ALU, kept apart from its interface.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use work.cpu_types.all;

architecture rtl of alu is
begin
    with op select y <=
        std_logic_vector(unsigned(a) + unsigned(b)) when op_add,
        std_logic_vector(unsigned(a) - unsigned(b)) when op_sub,
        a and b when op_and,
        a or b when others;
end architecture rtl;

-- A smaller ALU without subtraction, for designs that never subtract.
architecture small of alu is
begin
    with op select y <=
        std_logic_vector(unsigned(a) + unsigned(b)) when op_add,
        a and b when op_and,
        a or b when others;
end architecture small;
