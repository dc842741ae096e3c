-- Clock enable divider: if generate with elsif and else alternatives (VHDL-2008).
library ieee;
use ieee.std_logic_1164.all;

entity clk_div is
  generic (DIVIDE : positive := 4);
  port (
    clk    : in  std_logic;
    rst    : in  std_logic;
    ce_out : out std_logic
  );
end entity clk_div;

architecture rtl of clk_div is
begin
  g_div : if DIVIDE = 1 generate
    ce_out <= '1';
  elsif DIVIDE = 2 generate
    signal t : std_logic := '0';
  begin
    process(clk) begin
      if rising_edge(clk) then
        t <= not t;
      end if;
    end process;
    ce_out <= t;
  else generate
    signal cnt : natural range 0 to DIVIDE-1 := 0;
  begin
    process(clk)
    begin
      if rising_edge(clk) then
        if rst = '1' or cnt = DIVIDE-1 then
          cnt <= 0;
        else
          cnt <= cnt + 1;
        end if;
      end if;
    end process;
    ce_out <= '1' when cnt = 0 else '0';
  end generate g_div;
end architecture rtl;
