-- Configurable pipeline of registers built with a generate loop that declares signals.
library ieee;
use ieee.std_logic_1164.all;

entity pipeline_reg is
  generic (
    STAGES : natural range 0 to 16 := 2;
    WIDTH  : positive := 8
  );
  port (
    clk : in  std_logic;
    d   : in  std_logic_vector(WIDTH-1 downto 0);
    q   : out std_logic_vector(WIDTH-1 downto 0)
  );
end pipeline_reg;

architecture rtl of pipeline_reg is
  type t_stage_array is array (0 to STAGES) of std_logic_vector(WIDTH-1 downto 0);
  signal stage : t_stage_array;
begin
  stage(0) <= d;

  gen_stages : for i in 1 to STAGES generate
    constant C_INDEX : natural := i;
    signal r : std_logic_vector(WIDTH-1 downto 0) := (others => '0');
  begin
    process(clk)
    begin
      if rising_edge(clk) then
        r <= stage(C_INDEX-1);
      end if;
    end process;
    stage(i) <= r;
  end generate gen_stages;

  q <= stage(STAGES);
end rtl;
