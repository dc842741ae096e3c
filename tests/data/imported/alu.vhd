-- Arithmetic and logic unit on signed operands.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity alu is
  generic (WIDTH : positive := 16);
  port (
    op    : in  std_logic_vector(2 downto 0);
    a, b  : in  signed(WIDTH-1 downto 0);
    y     : out signed(WIDTH-1 downto 0);
    flags : out std_logic_vector(3 downto 0) := (others => '0')   -- N Z C V
  );
end alu;

architecture rtl of alu is
  constant OP_ADD : std_logic_vector(2 downto 0) := "000";
  constant OP_SUB : std_logic_vector(2 downto 0) := "001";
  constant OP_AND : std_logic_vector(2 downto 0) := "010";
  constant OP_OR  : std_logic_vector(2 downto 0) := "011";
  signal result   : signed(WIDTH downto 0);
begin
  with op select result <=
    resize(a, WIDTH+1) + resize(b, WIDTH+1) when OP_ADD,
    resize(a, WIDTH+1) - resize(b, WIDTH+1) when OP_SUB,
    resize(a and b, WIDTH+1)                when OP_AND,
    resize(a or b, WIDTH+1)                 when OP_OR,
    (others => '0')                         when others;

  y <= result(WIDTH-1 downto 0);
  flags(3) <= result(WIDTH-1);
  flags(2) <= '1' when result(WIDTH-1 downto 0) = 0 else '0';
  flags(1) <= result(WIDTH);
  flags(0) <= (a(WIDTH-1) xnor b(WIDTH-1)) and (a(WIDTH-1) xor result(WIDTH-1));
end rtl;
