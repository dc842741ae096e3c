library ieee;
use ieee.std_logic_1164.all;

package vga_pkg is
  type t_vga_timing is record
    h_visible, h_front, h_sync, h_back : natural;
    v_visible, v_front, v_sync, v_back : natural;
    sync_active_low                    : boolean;
  end record;

  constant C_VGA_640X480 : t_vga_timing := (640, 16, 96, 48, 480, 10, 2, 33, true);
end package;
