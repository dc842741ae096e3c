-- BLINK_PKG: helpers shared by the blinker modules
library IEEE;
use IEEE.std_logic_1164.all;

package BLINK_PKG is
	function ones(n : integer) return std_logic_vector;
end BLINK_PKG;

package body BLINK_PKG is
	function ones(n : integer) return std_logic_vector is
		variable v : std_logic_vector(n-1 downto 0);
	begin
		v := (others => '1');
		return v;
	end;
end BLINK_PKG;
