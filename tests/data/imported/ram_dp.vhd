-- True dual-port RAM with optional initialisation from a text file.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use std.textio.all;

entity ram_dp is
  generic (
    ADDR_WIDTH : positive := 10;
    DATA_WIDTH : positive := 32;
    INIT_FILE  : string   := ""
  );
  port (
    clk_a, clk_b   : in  std_logic;
    we_a           : in  std_logic;
    addr_a, addr_b : in  std_logic_vector(ADDR_WIDTH-1 downto 0);
    din_a          : in  std_logic_vector(DATA_WIDTH-1 downto 0);
    dout_a, dout_b : out std_logic_vector(DATA_WIDTH-1 downto 0)
  );
end ram_dp;

architecture rtl of ram_dp is
  type ram_t is array (0 to 2**ADDR_WIDTH-1) of std_logic_vector(DATA_WIDTH-1 downto 0);

  impure function init_ram(name : string) return ram_t is
    file f       : text;
    variable l   : line;
    variable v   : bit_vector(DATA_WIDTH-1 downto 0);
    variable ram : ram_t := (others => (others => '0'));
  begin
    if name /= "" then
      file_open(f, name, read_mode);
      for i in ram_t'range loop
        exit when endfile(f);
        readline(f, l);
        read(l, v);
        ram(i) := to_stdlogicvector(v);
      end loop;
      file_close(f);
    end if;
    return ram;
  end function init_ram;

  shared variable ram : ram_t := init_ram(INIT_FILE);
begin
  port_a : process(clk_a)
  begin
    if rising_edge(clk_a) then
      if we_a = '1' then
        ram(to_integer(unsigned(addr_a))) := din_a;
      end if;
      dout_a <= ram(to_integer(unsigned(addr_a)));
    end if;
  end process port_a;

  port_b : process(clk_b)
  begin
    if rising_edge(clk_b) then
      dout_b <= ram(to_integer(unsigned(addr_b)));
    end if;
  end process port_b;
end rtl;
