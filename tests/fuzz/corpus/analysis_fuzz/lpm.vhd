jentity LPM_X is
	generic (LPM_WIDTH : natural := 4; LPM_DIRECTION : string := "UP");
	port (data : in std_logic_vector(LPM_WIDTH-1 downto 0);
		result : out std_logic_vector(LPM_WIDTH-1 downto 0));
	type ENUM_LPM_DIRECTION is (UP, DOWN);
end LPM_X;
architecture rtl of lpm_x is begin end rtl;