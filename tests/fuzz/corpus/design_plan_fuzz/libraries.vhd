library ieee;
use ieee.std_logic_1164.all;

package strm_pkg is
    function max(a, b : integer) return integer;
    function to_sl(b : boolean) return std_logic;
end package;

package body strm_pkg is
    function max(a, b : integer) return integer is
    begin
        if a > b then
            return a;
        end if;
        return b;
    end function;

    function to_sl(b : boolean) return std_logic is
    begin
        if b then
            return '1';
        end if;
        return '0';
    end function;
end package body;
library ieee;
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
library ieee;
use ieee.std_logic_1164.all;

library strm;
use strm.strm_pkg.all;

entity stream_top is
    generic (DATA_BITS : positive := 8);
    port (
        clk       : in  std_logic;
        rst       : in  std_logic;
        in_data   : in  std_logic_vector(DATA_BITS - 1 downto 0);
        in_valid  : in  std_logic;
        in_ready  : out std_logic;
        out_data  : out std_logic_vector(DATA_BITS - 1 downto 0);
        out_valid : out std_logic;
        out_ready : in  std_logic
    );
end entity;

architecture rtl of stream_top is
    signal mid_data : std_logic_vector(DATA_BITS - 1 downto 0);
    signal mid_valid, mid_ready : std_logic;
begin
    first : entity strm.strm_fifo
        generic map (WIDTH => DATA_BITS, DEPTH => max(2, DATA_BITS / 2))
        port map (clk, rst, in_data, in_valid, in_ready, mid_data, mid_valid, mid_ready);

    second : entity strm.strm_fifo
        generic map (WIDTH => DATA_BITS)
        port map (
            clk => clk, rst => rst,
            in_data => mid_data, in_valid => mid_valid, in_ready => mid_ready,
            out_data => out_data, out_valid => out_valid, out_ready => out_ready);
end architecture;
-- A board top around the processor: a clock buffer of the device's library and a debouncer
-- whose file is not part of the design.
library ieee;
use ieee.std_logic_1164.all;

entity board_top is
    port (
        clk_pin : in  std_logic;
        btn     : in  std_logic;
        leds    : out std_logic_vector(7 downto 0)
    );
end entity;

architecture rtl of board_top is
    component GLOBAL_BUF
        port (I : in std_logic; O : out std_logic);
    end component;
    signal clk, rst : std_logic;
begin
    u_buf : GLOBAL_BUF port map (I => clk_pin, O => clk);
    u_deb : entity work.debounce port map (clk => clk, d => btn, q => rst);
    leds <= (others => rst);
end architecture;
