-- BLINKER: two LEDs blinking at rates set by their channel dividers
library IEEE;
use IEEE.std_logic_1164.all;

entity BLINKER is
	port (
		CLK, RST : in std_logic;
		LED_A, LED_B : out std_logic
	);
	type ENUM_SPEED is (FAST, SLOW);
	constant SPEED: ENUM_SPEED := FAST;
end BLINKER;

architecture BLINKER_arch of BLINKER is
	signal led_a_int, led_b_int : std_logic;

	-- KESTRA component declarations
	component CHANNEL_A
	port (
		CLK, RST : in std_logic;
		LED : out std_logic
	);
	end component;

	component CHANNEL_B
	port (
		CLK, RST : in std_logic;
		LED : out std_logic
	);
	end component;

begin
	U_CHANNEL_A: CHANNEL_A port map (CLK => CLK, RST => RST, LED => led_a_int);
	U_CHANNEL_B: CHANNEL_B port map (CLK => CLK, RST => RST, LED => led_b_int);
	LED_A <= led_a_int;
	-- the SLOW style shows channel B inverted
	LED_B <= led_b_int when SPEED = FAST else not led_b_int;
end BLINKER_arch;
