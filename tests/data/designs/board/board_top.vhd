-- A board top around the processor: a clock buffer of the device's library and a debouncer
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
