-- A multiplexer with two architectures: the user picks one.
library ieee;
use ieee.std_logic_1164.all;

entity mux2 is
  generic (W : positive := 8);
  port (
    s    : in  std_logic;
    a, b : in  std_logic_vector(W-1 downto 0);
    y    : out std_logic_vector(W-1 downto 0)
  );
end;

architecture dataflow of mux2 is
begin
  y <= a when s = '0' else b;
end architecture dataflow;

architecture behavioral of mux2 is
begin
  process(s, a, b)
  begin
    if s = '0' then
      y <= a;
    else
      y <= b;
    end if;
  end process;
end;
