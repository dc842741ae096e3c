-- I2C master byte engine. Uses VHDL-2008 conditional assignments in a process.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity i2c_master is
  generic (
    INPUT_CLK : integer := 50_000_000;  -- input clock speed from user logic in Hz
    BUS_CLK   : integer := 400_000      -- speed the i2c bus (scl) will run at in Hz
  );
  port (
    clk       : in     std_logic;
    reset_n   : in     std_logic;
    ena       : in     std_logic;
    addr      : in     std_logic_vector(6 downto 0);
    rw        : in     std_logic;
    data_wr   : in     std_logic_vector(7 downto 0);
    busy      : out    std_logic;
    data_rd   : out    std_logic_vector(7 downto 0);
    ack_error : buffer std_logic;
    sda       : inout  std_logic;
    scl       : inout  std_logic
  );
end i2c_master;

architecture logic of i2c_master is
  constant divider  : integer := (INPUT_CLK / BUS_CLK) / 4;
  type machine is (ready, start, command, slv_ack1, wr, rd, slv_ack2, mstr_ack, stop);
  signal state      : machine;
  signal data_clk   : std_logic;
  signal scl_ena    : std_logic := '0';
  signal sda_int    : std_logic := '1';
  signal addr_rw    : std_logic_vector(7 downto 0);
  signal bit_cnt    : integer range 0 to 7 := 7;
begin
  clocking : process(clk, reset_n)
    variable count : integer range 0 to divider*4;
  begin
    if reset_n = '0' then
      count := 0;
    elsif rising_edge(clk) then
      count := 0 when count = divider*4-1 else count + 1;
      data_clk <= '0' when count < divider*2 else '1';
    end if;
  end process clocking;

  fsm : process(data_clk, reset_n)
  begin
    if reset_n = '0' then
      state     <= ready;
      busy      <= '1';
      ack_error <= '0';
    elsif rising_edge(data_clk) then
      case state is
        when ready =>
          busy <= '1' when ena = '1' else '0';
          if ena = '1' then
            addr_rw <= addr & rw;
            state   <= start;
          end if;
        when start =>
          sda_int <= addr_rw(bit_cnt);
          state   <= command;
        when command =>
          if bit_cnt = 0 then
            bit_cnt <= 7;
            state   <= slv_ack1;
          else
            bit_cnt <= bit_cnt - 1;
          end if;
        when slv_ack1 =>
          state <= wr when addr_rw(0) = '0' else rd;
        when wr | rd | slv_ack2 | mstr_ack =>
          state <= stop;
        when stop =>
          busy  <= '0';
          state <= ready;
      end case;
    end if;
  end process fsm;

  data_rd <= (others => '0');
  scl     <= '0' when (scl_ena = '1' and data_clk = '0') else 'Z';
  sda     <= '0' when sda_int = '0' else 'Z';
end logic;
