-- Pulse width modulator. Ports have defaults and one has no mode.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity pwm is
    generic (
        COUNTER_WIDTH : integer range 2 to 32 := 8;
        INVERT        : boolean := false
    );
    port (
        clk       : std_logic;                                    -- no mode: in
        enable    : in  std_logic := '1';
        duty      : in  unsigned(COUNTER_WIDTH - 1 downto 0) := (others => '0');
        pwm_out   : out std_logic := '0'
    );
end entity pwm;

architecture rtl of pwm is
    signal counter : unsigned(COUNTER_WIDTH - 1 downto 0) := (others => '0');
begin
    process (clk) is
    begin
        if rising_edge(clk) then
            if enable = '1' then
                counter <= counter + 1;
            end if;
            if (counter < duty) xor INVERT then
                pwm_out <= '1';
            else
                pwm_out <= '0';
            end if;
        end if;
    end process;
end architecture rtl;
