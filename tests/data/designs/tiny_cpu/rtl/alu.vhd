library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use work.cpu_types.all;

entity alu is
    generic (WIDTH : positive := 8);
    port (
        op : in alu_op_t;
        a  : in std_logic_vector(WIDTH - 1 downto 0);
        b  : in std_logic_vector(WIDTH - 1 downto 0);
        y  : out std_logic_vector(WIDTH - 1 downto 0)
    );
end entity alu;
