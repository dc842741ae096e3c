-- Galois LFSR; the tap vector is unconstrained.
library ieee;
use ieee.std_logic_1164.all;

entity LFSR is
  generic (
    TAPS : std_ulogic_vector := "10111000";
    SEED : natural := 1
  );
  port (
    clk, ce : in  std_ulogic;
    q       : out std_ulogic_vector(TAPS'length-1 downto 0)
  );
end LFSR;

architecture RTL of LFSR is
  signal state : std_ulogic_vector(TAPS'length-1 downto 0);
begin
  process(clk)
  begin
    if rising_edge(clk) then
      if ce = '1' then
        if state(0) = '1' then
          state <= ('0' & state(state'high downto 1)) xor TAPS;
        else
          state <= '0' & state(state'high downto 1);
        end if;
      end if;
    end if;
  end process;
  q <= state;
END rtl;
