library IEEE;
use IEEE.std_logic_1164.all;
use work.DEFS.all;

entity TOP is
	port (CLK : in std_logic; Q : out std_logic_vector(3 downto 0));
end TOP;

architecture TOP_arch of TOP is
	signal EN : std_logic;
	signal D : std_logic;
	function one return std_logic is
	begin
		return '1';
	end;

	-- KESTRA component declarations
	component CNT
	generic (
		W: integer := 4 
	);
	port (CLK, EN : in std_logic; Q : out std_logic_vector(W-1 downto 0)
	);
	end component;

	for all: CNT
		use entity WORK.CNT(down);

	component LIBM
	port (CLK : in std_logic; D : out std_logic
	);
	end component;

	component PRE
	port (CLK : in std_logic
	);
	end component;

begin
	-- KESTRA component instantiations
	U_LIBM: LIBM
		port map (CLK, D);

	U_PRE: PRE
		port map (CLK);

	EN <= one;
	U_CNT: CNT port map (CLK => CLK, EN => EN, Q => Q);
end TOP_arch;
