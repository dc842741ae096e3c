library ieee;
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
