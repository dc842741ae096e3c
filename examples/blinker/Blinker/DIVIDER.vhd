-- DIVIDER: one TICK every 2**WIDTH clocks (counter) or every WIDTH clocks (shifter)
library IEEE;
use IEEE.std_logic_1164.all;
use IEEE.std_logic_unsigned.all;
use work.BLINK_PKG.all;

entity DIVIDER is
	generic (
		WIDTH: integer := 5;
		RESET_LEVEL: STD_LOGIC := '1' 
	);
	port (
		CLK, RST : in std_logic;
		TICK : out std_logic
	);
end DIVIDER;

architecture counter of DIVIDER is
	signal count : std_logic_vector(WIDTH-1 downto 0);
begin
	process (CLK, RST)
	begin
		if RST = RESET_LEVEL then
			count <= (others => '0');
		elsif rising_edge(CLK) then
			count <= count + 1;
		end if;
	end process;
	TICK <= '1' when count = ones(WIDTH) else '0';
end counter;

architecture shifter of DIVIDER is
	signal ring : std_logic_vector(WIDTH-1 downto 0);
begin
	process (CLK, RST)
	begin
		if RST = RESET_LEVEL then
			ring <= (0 => '1', others => '0');
		elsif rising_edge(CLK) then
			ring <= ring(WIDTH-2 downto 0) & ring(WIDTH-1);
		end if;
	end process;
	TICK <= ring(WIDTH-1);
end shifter;
