library ieee;
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
