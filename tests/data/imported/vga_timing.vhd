-- Video timing generator; the timing set is a record generic.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use work.vga_pkg.all;

entity vga_timing is
  generic (
    TIMING : t_vga_timing := C_VGA_640X480
  );
  port (
    pix_clk        : in  std_logic;
    hsync, vsync   : out std_logic;
    active         : out std_logic;
    x, y           : out unsigned(11 downto 0)
  );
end entity vga_timing;

architecture rtl of vga_timing is
  constant H_TOTAL : natural := TIMING.h_visible + TIMING.h_front + TIMING.h_sync + TIMING.h_back;
  constant V_TOTAL : natural := TIMING.v_visible + TIMING.v_front + TIMING.v_sync + TIMING.v_back;

  type t_position is record
    h : natural range 0 to H_TOTAL - 1;
    v : natural range 0 to V_TOTAL - 1;
  end record t_position;

  signal pos : t_position := (h => 0, v => 0);

  function sync_level(active_low : boolean; inside : boolean) return std_logic is
  begin
    if inside xor active_low then
      return '1';
    end if;
    return '0';
  end function;
begin
  process(pix_clk)
  begin
    if rising_edge(pix_clk) then
      if pos.h = H_TOTAL - 1 then
        pos.h <= 0;
        if pos.v = V_TOTAL - 1 then
          pos.v <= 0;
        else
          pos.v <= pos.v + 1;
        end if;
      else
        pos.h <= pos.h + 1;
      end if;
    end if;
  end process;

  hsync  <= sync_level(TIMING.sync_active_low,
                       pos.h >= TIMING.h_visible + TIMING.h_front and
                       pos.h < TIMING.h_visible + TIMING.h_front + TIMING.h_sync);
  vsync  <= sync_level(TIMING.sync_active_low,
                       pos.v >= TIMING.v_visible + TIMING.v_front and
                       pos.v < TIMING.v_visible + TIMING.v_front + TIMING.v_sync);
  active <= '1' when pos.h < TIMING.h_visible and pos.v < TIMING.v_visible else '0';
  x      <= to_unsigned(pos.h, 12);
  y      <= to_unsigned(pos.v, 12);
end architecture rtl;
