-- Adder whose entity checks its generics in a statement part.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity checked_adder is
  generic (
    WIDTH : natural := 8
  );
  port (
    a, b : in  unsigned(WIDTH-1 downto 0);
    s    : out unsigned(WIDTH downto 0)
  );
  constant MAX_WIDTH : natural := 64;
begin
  assert WIDTH > 0 and WIDTH <= MAX_WIDTH
    report "checked_adder: WIDTH out of range"
    severity failure;
end entity;

architecture rtl of checked_adder is
begin
  s <= resize(a, WIDTH+1) + resize(b, WIDTH+1);
end architecture;
