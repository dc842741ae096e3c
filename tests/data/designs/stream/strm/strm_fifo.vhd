library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

library work;
use work.strm_pkg.all;

entity strm_fifo is
    generic (
        WIDTH : positive := 8;
        DEPTH : positive := 4
    );
    port (
        clk      : in  std_logic;
        rst      : in  std_logic;
        in_data  : in  std_logic_vector(WIDTH - 1 downto 0);
        in_valid : in  std_logic;
        in_ready : out std_logic;
        out_data : out std_logic_vector(WIDTH - 1 downto 0);
        out_valid : out std_logic;
        out_ready : in std_logic
    );
end entity;

architecture rtl of strm_fifo is
    type mem_t is array (0 to DEPTH - 1) of std_logic_vector(WIDTH - 1 downto 0);
    signal mem : mem_t;
    signal count : integer range 0 to DEPTH := 0;
    signal rd_ptr, wr_ptr : integer range 0 to DEPTH - 1 := 0;
begin
    in_ready <= to_sl(count < DEPTH);
    out_valid <= to_sl(count > 0);
    -- VHDL-2008: the process reads every signal it uses.
    read_out : process (all)
    begin
        out_data <= mem(rd_ptr);
    end process;

    process (clk)
        variable next_count : integer range 0 to DEPTH;
    begin
        if rising_edge(clk) then
            if rst = '1' then
                count <= 0;
                rd_ptr <= 0;
                wr_ptr <= 0;
            else
                next_count := count;
                if in_valid = '1' and count < DEPTH then
                    mem(wr_ptr) <= in_data;
                    wr_ptr <= (wr_ptr + 1) mod DEPTH;
                    next_count := next_count + 1;
                end if;
                if out_ready = '1' and count > 0 then
                    rd_ptr <= (rd_ptr + 1) mod DEPTH;
                    next_count := next_count - 1;
                end if;
                count <= next_count;
            end if;
        end if;
    end process;
end architecture;
