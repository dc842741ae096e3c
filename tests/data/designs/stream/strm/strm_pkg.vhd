library ieee;
use ieee.std_logic_1164.all;

package strm_pkg is
    function max(a, b : integer) return integer;
    function to_sl(b : boolean) return std_logic;
end package;

package body strm_pkg is
    function max(a, b : integer) return integer is
    begin
        if a > b then
            return a;
        end if;
        return b;
    end function;

    function to_sl(b : boolean) return std_logic is
    begin
        if b then
            return '1';
        end if;
        return '0';
    end function;
end package body;
