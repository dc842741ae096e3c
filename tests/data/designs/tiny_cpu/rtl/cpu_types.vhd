-- Types and helpers shared by the tiny processor.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

package cpu_types is
    constant kDataWidth : natural := 8;
    subtype word_t is std_logic_vector(kDataWidth - 1 downto 0);
    type alu_op_t is (op_add, op_sub, op_and, op_or);
    type decoded_t is record
        op     : alu_op_t;
        rd     : natural range 0 to 3;
        rs     : natural range 0 to 3;
        write  : std_logic;
    end record;
    function decode(instr : word_t) return decoded_t;
    function log2_ceil(value : positive) return natural;
end package cpu_types;

package body cpu_types is
    function decode(instr : word_t) return decoded_t is
        variable result : decoded_t;
    begin
        case instr(7 downto 6) is
            when "00" => result.op := op_add;
            when "01" => result.op := op_sub;
            when "10" => result.op := op_and;
            when others => result.op := op_or;
        end case;
        result.rd := to_integer(unsigned(instr(5 downto 4)));
        result.rs := to_integer(unsigned(instr(3 downto 2)));
        result.write := instr(1);
        return result;
    end function;

    function log2_ceil(value : positive) return natural is
        variable bits : natural := 0;
    begin
        while 2 ** bits < value loop
            bits := bits + 1;
        end loop;
        return bits;
    end function;
end package body cpu_types;
