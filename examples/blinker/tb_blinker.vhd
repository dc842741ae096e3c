-- Test bench of the generated BLINKER: a 100 MHz clock, a reset, and a count of the LED
-- changes over 20 microseconds. Run by VHDL Simulation (Tools > VHDL Simulator, kestra simulate).
library IEEE;
use IEEE.std_logic_1164.all;

entity TB_BLINKER is
end TB_BLINKER;

architecture bench of TB_BLINKER is
	signal CLK : std_logic := '0';
	signal RST : std_logic := '1';
	signal LED_A, LED_B : std_logic;
	signal done : boolean := false;
begin
	DUT: entity work.BLINKER port map (CLK => CLK, RST => RST, LED_A => LED_A, LED_B => LED_B);

	CLK <= not CLK after 5 ns when not done;

	process
		variable changes_a, changes_b : natural := 0;
		variable last_a, last_b : std_logic;
	begin
		report "TB_BLINKER: reset";
		wait for 25 ns;
		RST <= '0';
		wait until rising_edge(CLK);
		last_a := LED_A;
		last_b := LED_B;
		for cycle in 1 to 2000 loop
			wait until rising_edge(CLK);
			if LED_A /= last_a then changes_a := changes_a + 1; end if;
			if LED_B /= last_b then changes_b := changes_b + 1; end if;
			last_a := LED_A;
			last_b := LED_B;
		end loop;
		report "TB_BLINKER: after 2000 clocks LED_A changed " & integer'image(changes_a) &
			" times, LED_B changed " & integer'image(changes_b) & " times";
		done <= true;
		wait;
	end process;
end bench;
