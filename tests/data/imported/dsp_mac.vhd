-- Multiply-accumulate with a pipelined product.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity dsp_mac is
  generic (
    A_WIDTH   : positive := 18;
    B_WIDTH   : positive := 25;
    ACC_WIDTH : positive := 48
  );
  port (
    clk   : in  std_logic;
    clr   : in  std_logic;
    a     : in  signed(A_WIDTH-1 downto 0);
    b     : in  signed(B_WIDTH-1 downto 0);
    acc   : out signed(ACC_WIDTH-1 downto 0)
  );
end dsp_mac;

architecture rtl of dsp_mac is
  signal a_r : signed(A_WIDTH-1 downto 0) := (others => '0');
  signal b_r : signed(B_WIDTH-1 downto 0) := (others => '0');
  signal p_r : signed(A_WIDTH+B_WIDTH-1 downto 0) := (others => '0');
  signal acc_r : signed(ACC_WIDTH-1 downto 0) := (others => '0');
begin
  process(clk)
  begin
    if rising_edge(clk) then
      a_r <= a;
      b_r <= b;
      p_r <= a_r * b_r;
      if clr = '1' then
        acc_r <= (others => '0');
      else
        acc_r <= acc_r + resize(p_r, ACC_WIDTH);
      end if;
    end if;
  end process;
  acc <= acc_r;
end rtl;
