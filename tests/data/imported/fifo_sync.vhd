-- =============================================================================
-- Synchronous FIFO, first-word fall-through
--
-- Authors:  Jürgen Übelhör, Zoë Nakamura
-- Licence:  own test source
-- =============================================================================
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

use work.util_pkg.all;

entity fifo_sync is
  generic (
    D_BITS    : positive;                 -- Data Width
    MIN_DEPTH : positive                  -- Minimum FIFO Size in Words
  );
  port (
    -- Global Reset and Clock
    clk, rst : in  std_logic;

    -- Writing Interface
    put  : in  std_logic;                 -- Write Request
    din  : in  std_logic_vector(D_BITS-1 downto 0);
    full : out std_logic;

    -- Reading Interface
    got   : in  std_logic;
    dout  : out std_logic_vector(D_BITS-1 downto 0);
    valid : out std_logic
  );
end entity fifo_sync;


architecture rtl of fifo_sync is
  constant A_BITS : natural := log2ceil(MIN_DEPTH);
  type t_mem is array (0 to 2**A_BITS-1) of std_logic_vector(D_BITS-1 downto 0);
  signal mem    : t_mem;
  signal wp, rp : unsigned(A_BITS downto 0) := (others => '0');
  signal full_i, valid_i : std_logic;
begin

  process(clk)
  begin
    if rising_edge(clk) then
      if rst = '1' then
        wp <= (others => '0');
        rp <= (others => '0');
      else
        if put = '1' and full_i = '0' then
          mem(to_integer(wp(A_BITS-1 downto 0))) <= din;
          wp <= wp + 1;
        end if;
        if got = '1' and valid_i = '1' then
          rp <= rp + 1;
        end if;
      end if;
    end if;
  end process;

  full_i  <= '1' when (wp(A_BITS) /= rp(A_BITS)) and (wp(A_BITS-1 downto 0) = rp(A_BITS-1 downto 0)) else '0';
  valid_i <= '0' when wp = rp else '1';
  full    <= full_i;
  valid   <= valid_i;
  dout  <= mem(to_integer(rp(A_BITS-1 downto 0)));

end architecture;
