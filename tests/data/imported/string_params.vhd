-- Identification block whose generics are strings.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity string_params is
  generic (
    NAME      : string := "core_id";
    PATH      : string := "";
    BANNER    : string := "rev " & "A";
    WIDTH     : natural := 8
  );
  port (
    clk : in  std_logic;
    id  : out std_logic_vector(WIDTH-1 downto 0)
  );
end entity string_params;

architecture rtl of string_params is
begin
  id <= std_logic_vector(to_unsigned(NAME'length, WIDTH)) when PATH = "" else (others => '1');
end architecture rtl;
