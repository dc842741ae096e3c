-- A register with enable, and the register file built from four of them.
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
