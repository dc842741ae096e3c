-- Register bank on a memory-mapped bus; the bus signals come as records.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

library work;
use work.axi_types_pkg.all;

entity axi_lite_regs is
  generic (
    NUM_REGS   : positive range 1 to 64 := 8;
    RESET_VALS : t_reg_array(0 to 7) := (others => (others => '0'));
    BASE_ADDR  : std_ulogic_vector(31 downto 0)    -- no default: set per instance
  );
  port (
    aclk      : in  std_ulogic;
    aresetn   : in  std_ulogic;
    s_axi_req : in  t_axi_req;
    s_axi_rsp : out t_axi_rsp := C_AXI_RSP_IDLE;
    regs_o    : out work.axi_types_pkg.t_reg_array(0 to NUM_REGS-1)
  );
end entity;

architecture rtl of axi_lite_regs is
  signal regs : t_reg_array(0 to NUM_REGS-1) := RESET_VALS(0 to NUM_REGS-1);

  function index_of(addr : std_ulogic_vector) return natural is
  begin
    return to_integer(unsigned(addr(7 downto 2))) mod NUM_REGS;
  end function index_of;
begin
  process(aclk)
  begin
    if rising_edge(aclk) then
      s_axi_rsp <= C_AXI_RSP_IDLE;
      if aresetn = '0' then
        regs <= RESET_VALS(0 to NUM_REGS-1);
      else
        if s_axi_req.awvalid = '1' and s_axi_req.wvalid = '1' then
          regs(index_of(s_axi_req.awaddr)) <= s_axi_req.wdata;
          s_axi_rsp.awready <= '1';
          s_axi_rsp.wready  <= '1';
          s_axi_rsp.bvalid  <= '1';
        end if;
        if s_axi_req.arvalid = '1' then
          s_axi_rsp.arready <= '1';
          s_axi_rsp.rvalid  <= '1';
          s_axi_rsp.rdata   <= regs(index_of(s_axi_req.araddr));
        end if;
      end if;
    end if;
  end process;

  regs_o <= regs;
end architecture rtl;
