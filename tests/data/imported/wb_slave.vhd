-- Wishbone classic slave with a small register file.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity wb_slave is
  generic (
    ADR_W : natural := 4;
    DAT_W : natural := 32
  );
  port (
    clk_i : in  std_logic;
    rst_i : in  std_logic;
    cyc_i : in  std_logic;
    stb_i : in  std_logic;
    we_i  : in  std_logic;
    adr_i : in  std_logic_vector(ADR_W-1 downto 0);
    dat_i : in  std_logic_vector(DAT_W-1 downto 0);
    dat_o : out std_logic_vector(DAT_W-1 downto 0);
    ack_o : buffer std_logic := '0'
  );
end entity wb_slave;

architecture rtl of wb_slave is
  type t_regs is array (0 to 2**ADR_W-1) of std_logic_vector(DAT_W-1 downto 0);
  signal regs : t_regs := (others => (others => '0'));
begin
  process(clk_i)
  begin
    if rising_edge(clk_i) then
      ack_o <= '0';
      if rst_i = '1' then
        regs <= (others => (others => '0'));
      elsif cyc_i = '1' and stb_i = '1' and ack_o = '0' then
        ack_o <= '1';
        if we_i = '1' then
          regs(to_integer(unsigned(adr_i))) <= dat_i;
        end if;
      end if;
    end if;
  end process;
  dat_o <= regs(to_integer(unsigned(adr_i)));
end architecture rtl;
