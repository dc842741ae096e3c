-- Traffic light controller with an encoding attribute on its state.
library ieee;
use ieee.std_logic_1164.all;

entity onehot_fsm is
  port (
    clk, rst        : in  std_logic;
    car_waiting     : in  std_logic;
    red, amber, grn : out std_logic
  );
end entity;

architecture rtl of onehot_fsm is
  type t_state is (S_RED, S_RED_AMBER, S_GREEN, S_AMBER);
  signal state : t_state := S_RED;
  attribute fsm_encoding : string;
  attribute fsm_encoding of state : signal is "one_hot";
begin
  process(clk)
  begin
    if rising_edge(clk) then
      if rst = '1' then
        state <= S_RED;
      else
        case state is
          when S_RED       => if car_waiting = '1' then state <= S_RED_AMBER; end if;
          when S_RED_AMBER => state <= S_GREEN;
          when S_GREEN     => if car_waiting = '0' then state <= S_AMBER; end if;
          when S_AMBER     => state <= S_RED;
        end case;
      end if;
    end if;
  end process;
  red   <= '1' when state = S_RED or state = S_RED_AMBER else '0';
  amber <= '1' when state = S_RED_AMBER or state = S_AMBER else '0';
  grn   <= '1' when state = S_GREEN else '0';
end architecture;
