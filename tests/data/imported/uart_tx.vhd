--------------------------------------------------------------------------------
--! @file    uart_tx.vhd
--! @brief   UART transmitter, 8N1, with a baud tick divider
--------------------------------------------------------------------------------
library ieee;
  use ieee.std_logic_1164.all;
  use ieee.numeric_std.all;

entity uart_tx is
  generic (
    G_CLK_FREQ_HZ : natural := 50_000_000;
    G_BAUD        : natural := 115_200
  );
  port (
    i_clk     : in  std_logic;
    i_rst     : in  std_logic;
    i_valid   : in  std_logic;
    i_data    : in  std_logic_vector(7 downto 0);
    o_ready   : out std_logic;
    o_tx      : out std_logic
  );
end entity uart_tx;

architecture rtl of uart_tx is
  constant C_DIV : natural := G_CLK_FREQ_HZ / G_BAUD;
  type t_state is (S_IDLE, S_START, S_DATA, S_STOP);
  signal state   : t_state := S_IDLE;
  signal div_cnt : natural range 0 to C_DIV - 1 := 0;
  signal bit_cnt : natural range 0 to 7 := 0;
  signal shreg   : std_logic_vector(7 downto 0) := (others => '0');
begin

  p_fsm : process(all)
  begin
    if rising_edge(i_clk) then
      if i_rst = '1' then
        state <= S_IDLE;
      else
        case state is
          when S_IDLE =>
            if i_valid = '1' then
              shreg <= i_data;
              state <= S_START;
            end if;
          when S_START | S_DATA | S_STOP =>
            if div_cnt = C_DIV - 1 then
              div_cnt <= 0;
              case state is
                when S_START => state <= S_DATA;
                when S_DATA =>
                  shreg <= '0' & shreg(7 downto 1);
                  if bit_cnt = 7 then
                    bit_cnt <= 0;
                    state <= S_STOP;
                  else
                    bit_cnt <= bit_cnt + 1;
                  end if;
                when others => state <= S_IDLE;
              end case;
            else
              div_cnt <= div_cnt + 1;
            end if;
        end case;
      end if;
    end if;
  end process p_fsm;

  o_tx    <= '0' when state = S_START else shreg(0) when state = S_DATA else '1';
  o_ready <= '1' when state = S_IDLE else '0';

end architecture rtl;
