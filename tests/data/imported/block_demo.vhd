-- Block statements with their own declarations and a guard.
library ieee;
use ieee.std_logic_1164.all;

entity block_demo is
  port (
    clk, en : in  std_logic;
    d       : in  std_logic_vector(7 downto 0);
    q       : out std_logic_vector(7 downto 0)
  );
end entity block_demo;

architecture rtl of block_demo is
  signal stage : std_logic_vector(7 downto 0);
begin
  first : block
    signal inv : std_logic_vector(7 downto 0);
  begin
    inv   <= not d;
    stage <= inv when en = '1' else d;
  end block first;

  second : block (rising_edge(clk)) is
  begin
    q <= guarded stage;
  end block second;
end architecture rtl;
