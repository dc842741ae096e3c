-- SPI master with configurable clock polarity and phase.
-- Ünïcödé in a comment: ÄÖÜ äöü ß € ✓
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity spi_master is
  generic (
    DATA_WIDTH : natural range 1 to 4096 := 8;
    CLK_DIV    : positive := 4;
    CPOL, CPHA : std_logic := '0'
  );
  port (
    clk, reset_n : in std_logic;
    start        : in std_logic;
    tx_data      : in std_logic_vector(DATA_WIDTH-1 downto 0);
    rx_data      : out std_logic_vector(DATA_WIDTH-1 downto 0);
    busy         : out std_logic;
    sclk, mosi   : out std_logic;
    miso         : in std_logic;
    cs_n         : out std_logic
  );
end spi_master;

architecture behavioral of spi_master is
  signal shift_tx, shift_rx : std_logic_vector(DATA_WIDTH-1 downto 0);
  signal count              : integer range 0 to 2*DATA_WIDTH := 0;
  signal div                : integer range 0 to CLK_DIV-1 := 0;
  signal sclk_i             : std_logic := CPOL;
  signal active             : boolean := false;

  procedure shift_in(signal reg : inout std_logic_vector; bit_in : in std_logic) is
  begin
    reg <= reg(reg'high-1 downto reg'low) & bit_in;
  end procedure shift_in;

  procedure clear(signal reg : out std_logic_vector) is
  begin
    reg <= (reg'range => '0');
  end;
begin
  process(clk, reset_n)
  begin
    if reset_n = '0' then
      active <= false;
      count  <= 0;
      clear(shift_rx);
      sclk_i <= CPOL;
    elsif rising_edge(clk) then
      if not active and start = '1' then
        active   <= true;
        shift_tx <= tx_data;
        count    <= 0;
      elsif active then
        if div = CLK_DIV-1 then
          div    <= 0;
          sclk_i <= not sclk_i;
          if (sclk_i = CPOL) xor (CPHA = '1') then
            shift_in(shift_rx, miso);
          else
            shift_tx <= shift_tx(DATA_WIDTH-2 downto 0) & '0';
          end if;
          if count = 2*DATA_WIDTH-1 then
            active <= false;
          else
            count <= count + 1;
          end if;
        else
          div <= div + 1;
        end if;
      end if;
    end if;
  end process;

  sclk    <= sclk_i;
  mosi    <= shift_tx(DATA_WIDTH-1);
  rx_data <= shift_rx;
  busy    <= '1' when active else '0';
  cs_n    <= '0' when active else '1';
end behavioral;
