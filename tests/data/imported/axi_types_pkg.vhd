-- Record types of a simple memory-mapped bus, in the style of the bus
-- packages that register blocks are written against.
library ieee;
use ieee.std_logic_1164.all;

package axi_types_pkg is
  type t_axi_req is record
    awvalid : std_ulogic;
    awaddr  : std_ulogic_vector(31 downto 0);
    wvalid  : std_ulogic;
    wdata   : std_ulogic_vector(31 downto 0);
    arvalid : std_ulogic;
    araddr  : std_ulogic_vector(31 downto 0);
    rready  : std_ulogic;
    bready  : std_ulogic;
  end record t_axi_req;

  type t_axi_rsp is record
    awready : std_ulogic;
    wready  : std_ulogic;
    bvalid  : std_ulogic;
    arready : std_ulogic;
    rvalid  : std_ulogic;
    rdata   : std_ulogic_vector(31 downto 0);
  end record t_axi_rsp;

  constant C_AXI_RSP_IDLE : t_axi_rsp := (
    awready => '0', wready => '0', bvalid => '0', arready => '0', rvalid => '0',
    rdata => (others => '0'));

  type t_reg_array is array (natural range <>) of std_ulogic_vector(31 downto 0);
end package axi_types_pkg;
