-- Top level: a divider and a counter wired by component instantiation.
library ieee;
use ieee.std_logic_1164.all;

entity blinky_top is
  generic (
    CLK_HZ : positive := 12_000_000
  );
  port (
    clk  : in  std_logic;
    rstn : in  std_logic;
    leds : out std_logic_vector(3 downto 0)
  );
end entity blinky_top;

architecture structural of blinky_top is
  component clk_div is
    generic (DIVIDE : positive := 4);
    port (
      clk    : in  std_logic;
      rst    : in  std_logic;
      ce_out : out std_logic
    );
  end component clk_div;

  component gray_counter
    generic (WIDTH : positive := 4);
    port (
      clk, rst : in  std_logic;
      gray     : out std_logic_vector(WIDTH-1 downto 0)
    );
  end component;

  for all : clk_div use entity work.clk_div(rtl);

  signal rst, tick : std_logic;
begin
  rst <= not rstn;

  u_div : clk_div
    generic map (DIVIDE => CLK_HZ / 4)
    port map (clk => clk, rst => rst, ce_out => tick);

  u_cnt : component gray_counter
    generic map (WIDTH => 4)
    port map (
      clk  => tick,
      rst  => rst,
      gray => leds
    );
end architecture structural;
