-- Uses constants and functions of a package in its generic defaults.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use work.util_pkg.all;

entity pkg_consumer is
  generic (
    DEPTH      : positive := C_DEFAULT_DEPTH;
    ADDR_BITS  : natural  := log2ceil(C_DEFAULT_DEPTH);
    WIDTH      : positive := imax(8, 2 * 4)
  );
  port (
    clk  : in  std_logic;
    addr : in  unsigned(ADDR_BITS-1 downto 0);
    data : out std_logic_vector(WIDTH-1 downto 0)
  );
end entity pkg_consumer;

architecture rtl of pkg_consumer is
  type t_rom is array (0 to DEPTH-1) of std_logic_vector(WIDTH-1 downto 0);

  function make_rom return t_rom is
    variable r : t_rom;
  begin
    for i in r'range loop
      r(i) := std_logic_vector(to_unsigned(i * 3, WIDTH));
    end loop;
    return r;
  end function make_rom;

  constant ROM : t_rom := make_rom;
begin
  process(clk)
  begin
    if rising_edge(clk) then
      data <= ROM(to_integer(addr));
    end if;
  end process;
end architecture rtl;
