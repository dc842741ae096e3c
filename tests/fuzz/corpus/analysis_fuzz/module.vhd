mlibrary ieee;
use ieee.std_logic_1164.all;

entity m is
	generic (N : integer := 8; EN : std_logic := '1'; t : type := word; F : file := "rom.hex";
		D : note := "text"; S2 : string := "UP");
	port (clk, rst : in std_logic; -- clock
		d : in t; q : out std_logic_vector(N-1 downto 0);
		n : buffer integer range 0 to 15; l : linkage my_t);
	type ENUM_N is (8, 16);
	type ENUM_S is (slow, fast);
	constant S : ENUM_S := fast;
end m;

architecture a of m is
	type state_t is (idle, run);
	signal st : state_t;
	signal r : reg_t := (others => '0');
	signal x : integer range 0 to 7 := 3;
	function f(x : integer) return integer is
		variable v : integer;
	begin
		if x > 0 then v := 1; end if;
		return v;
	end f;
begin
	q <= (others => '0');
end a;

architecture b of m is begin end b;