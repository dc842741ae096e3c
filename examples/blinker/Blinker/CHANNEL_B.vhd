-- CHANNEL_B: toggles its LED on every tick of its divider
library IEEE;
use IEEE.std_logic_1164.all;

entity CHANNEL_B is
	port (
		CLK, RST : in std_logic;
		LED : out std_logic
	);
end CHANNEL_B;

architecture CHANNEL_B_arch of CHANNEL_B is
	signal TICK : std_logic;
	signal state : std_logic;

	-- KESTRA component declarations
	component DIVIDER
	generic (
		WIDTH: integer := 5;
		RESET_LEVEL: STD_LOGIC := '1' 
	);
	port (
		CLK, RST : in std_logic;
		TICK : out std_logic
	);
	end component;

	for all: DIVIDER
		use entity WORK.DIVIDER(shifter);

begin
	-- KESTRA component instantiations
	U_DIVIDER: DIVIDER
		port map (CLK, RST, TICK);

	process (CLK, RST)
	begin
		if RST = '1' then
			state <= '0';
		elsif rising_edge(CLK) then
			if TICK = '1' then
				state <= not state;
			end if;
		end if;
	end process;
	LED <= state;
end CHANNEL_B_arch;
