-- Two-flop synchroniser with synthesis attributes.
library ieee;
use ieee.std_logic_1164.all;

entity cdc_sync is
  generic (
    STAGES    : natural range 2 to 8 := 2;
    RESET_VAL : std_logic := '0'
  );
  port (
    clk_dst : in  std_logic;
    rst_dst : in  std_logic;
    d_src   : in  std_logic;
    q_dst   : out std_logic
  );
  attribute dont_touch : boolean;
  attribute dont_touch of cdc_sync : entity is true;
end entity cdc_sync;

architecture rtl of cdc_sync is
  signal sync_r : std_logic_vector(STAGES-1 downto 0) := (others => RESET_VAL);

  attribute ASYNC_REG : string;
  attribute ASYNC_REG of sync_r : signal is "TRUE";
  attribute shreg_extract : string;
  attribute shreg_extract of sync_r : signal is "no";
begin
  process(clk_dst, rst_dst)
  begin
    if rst_dst = '1' then
      sync_r <= (others => RESET_VAL);
    elsif rising_edge(clk_dst) then
      sync_r <= sync_r(STAGES-2 downto 0) & d_src;
    end if;
  end process;
  q_dst <= sync_r(STAGES-1);
end architecture rtl;
