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
library ieee;
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
-- The operations of the ALU, kept apart from its interface.
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
-- A register with enable, and the register file built from four of them.
library ieee;
use ieee.std_logic_1164.all;

entity reg is
    generic (WIDTH : positive := 8; RESET_VALUE : std_logic := '0');
    port (
        clk : in std_logic;
        rst : in std_logic;
        en  : in std_logic;
        d   : in std_logic_vector(WIDTH - 1 downto 0);
        q   : out std_logic_vector(WIDTH - 1 downto 0)
    );
end entity reg;

architecture rtl of reg is
begin
    process (clk)
    begin
        if rising_edge(clk) then
            if rst = '1' then
                q <= (others => RESET_VALUE);
            elsif en = '1' then
                q <= d;
            end if;
        end if;
    end process;
end architecture rtl;

library ieee;
use ieee.std_logic_1164.all;
use work.cpu_types.all;

entity regfile is
    port (
        clk    : in std_logic;
        rst    : in std_logic;
        write  : in std_logic;
        rd     : in natural range 0 to 3;
        rs     : in natural range 0 to 3;
        data   : in word_t;
        rd_val : out word_t;
        rs_val : out word_t
    );
end entity regfile;

architecture rtl of regfile is
    type bank_t is array (0 to 3) of word_t;
    signal bank : bank_t;
    signal enables : std_logic_vector(3 downto 0);
begin
    bank_gen : for i in 0 to 3 generate
        enables(i) <= write when rd = i else '0';
        r : entity work.reg
            generic map (WIDTH => kDataWidth)
            port map (clk => clk, rst => rst, en => enables(i), d => data, q => bank(i));
    end generate bank_gen;
    rd_val <= bank(rd);
    rs_val <= bank(rs);
end architecture rtl;
library ieee;
use ieee.std_logic_1164.all;
use work.cpu_types.all;

entity cpu is
    generic (USE_ACC : boolean := true);
    port (
        clk    : in std_logic;
        rst    : in std_logic;
        instr  : in word_t;
        result : out word_t
    );
end entity cpu;

architecture rtl of cpu is
    signal decoded : decoded_t;
    signal rd_val, rs_val, alu_y, acc_q : word_t;
begin
    decoded <= decode(instr);

    u_regs : entity work.regfile
        port map (
            clk => clk, rst => rst, write => decoded.write, rd => decoded.rd, rs => decoded.rs,
            data => alu_y, rd_val => rd_val, rs_val => rs_val);

    u_alu : entity work.alu(rtl)
        generic map (WIDTH => kDataWidth)
        port map (op => decoded.op, a => rd_val, b => rs_val, y => alu_y);

    acc_gen : if USE_ACC generate
        u_acc : entity work.reg
            port map (clk => clk, rst => rst, en => '1', d => alu_y, q => acc_q);
        result <= acc_q;
    end generate acc_gen;

    no_acc_gen : if not USE_ACC generate
        result <= alu_y;
    end generate no_acc_gen;
end architecture rtl;
