-- Common-clock FIFO with optional output registers.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

library work;
use work.util_pkg.all;

entity fifo_cc is
  generic (
    D_BITS         : positive := 8;
    MIN_DEPTH      : positive := 16;
    DATA_REG       : boolean  := false;   -- Store Data Content in Registers
    STATE_REG      : boolean  := false;   -- Registered Full/Empty Indicators
    OUTPUT_REG     : boolean  := false;   -- Registered FIFO Output
    ESTATE_WR_BITS : natural  := 0;       -- Empty State Bits
    FSTATE_RD_BITS : natural  := 0        -- Full State Bits
  );
  port (
    clk, rst  : in  std_logic;
    put       : in  std_logic;
    din       : in  std_logic_vector(D_BITS-1 downto 0);
    full      : out std_logic;
    estate_wr : out std_logic_vector(imax(ESTATE_WR_BITS-1, 0) downto 0);
    got       : in  std_logic;
    dout      : out std_logic_vector(D_BITS-1 downto 0);
    valid     : out std_logic;
    fstate_rd : out std_logic_vector(imax(FSTATE_RD_BITS-1, 0) downto 0)
  );
end fifo_cc;

architecture rtl of fifo_cc is
  signal level : unsigned(log2ceil(MIN_DEPTH) downto 0) := (others => '0');
  signal q     : std_logic_vector(D_BITS-1 downto 0);
begin
  gen_out_reg : if OUTPUT_REG generate
    process(clk)
    begin
      if rising_edge(clk) then
        dout <= q;
      end if;
    end process;
  end generate gen_out_reg;

  gen_out_comb : if not OUTPUT_REG generate
    dout <= q;
  end generate;

  q         <= din when DATA_REG or STATE_REG else (others => '0');
  full      <= '1' when level = MIN_DEPTH else '0';
  valid     <= '0' when level = 0 else '1';
  estate_wr <= (others => '0');
  fstate_rd <= (others => '0');
end rtl;
