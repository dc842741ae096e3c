-- Valid/ready register slice; ports declared with the word "signal".
library ieee;
use ieee.std_logic_1164.all;

entity handshake_reg is
  generic (W : natural := 32);
  port (
    signal clk       : in  std_logic;
    signal s_valid   : in  std_logic;
    signal s_ready   : out std_logic;
    signal s_data    : in  std_logic_vector(W-1 downto 0);
    signal m_valid   : out std_logic;
    signal m_ready   : in  std_logic;
    signal m_data    : out std_logic_vector(W-1 downto 0)
  );
end handshake_reg;

architecture rtl of handshake_reg is
  signal full : std_logic := '0';
  signal data : std_logic_vector(W-1 downto 0);
begin
  process(clk)
  begin
    if rising_edge(clk) then
      if full = '0' and s_valid = '1' then
        data <= s_data;
        full <= '1';
      elsif full = '1' and m_ready = '1' then
        full <= '0';
      end if;
    end if;
  end process;
  s_ready <= not full;
  m_valid <= full;
  m_data  <= data;
end rtl;
