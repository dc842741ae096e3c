-- CRC generator over a parallel data word.
library ieee;
use ieee.std_logic_1164.all;

entity crc_gen is
  generic (
    POLY : std_ulogic_vector(15 downto 0) := x"1021";
    INIT : std_ulogic_vector(15 downto 0)
  );
  port (
    clk   : in  std_ulogic;
    clear : in  std_ulogic;
    en    : in  std_ulogic;
    data  : in  std_ulogic_vector(7 downto 0);
    crc   : out std_ulogic_vector(POLY'range)
  );
end entity crc_gen;

architecture rtl of crc_gen is
  signal crc_q : std_ulogic_vector(crc'range) := INIT;

  function next_crc(c : std_ulogic_vector; d : std_ulogic_vector) return std_ulogic_vector is
    variable r  : std_ulogic_vector(c'range) := c;
    variable fb : std_ulogic;
  begin
    for i in d'range loop
      fb := r(r'high) xor d(i);
      r  := r(r'high-1 downto r'low) & '0';
      if fb = '1' then
        r := r xor POLY;
      end if;
    end loop;
    return r;
  end function;
begin
  process(clk)
  begin
    if rising_edge(clk) then
      if clear = '1' then
        crc_q <= INIT;
      elsif en = '1' then
        crc_q <= next_crc(crc_q, data);
      end if;
    end if;
  end process;
  crc <= crc_q;
end architecture;
