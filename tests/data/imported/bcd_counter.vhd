-- Decimal counter; the closing names are written in another letter case.
library IEEE;
use IEEE.STD_LOGIC_1164.ALL;
use IEEE.NUMERIC_STD.ALL;

entity BCD_Counter is
    Port ( CLK    : in  STD_LOGIC;
           RESET  : in  STD_LOGIC;
           ENABLE : in  STD_LOGIC;
           DIGIT  : out STD_LOGIC_VECTOR (3 downto 0);
           CARRY  : out STD_LOGIC);
end bcd_counter;

architecture Behavioral of BCD_Counter is
    signal count : unsigned(3 downto 0) := (others => '0');
begin
    process (CLK)
    begin
        if rising_edge(CLK) then
            if RESET = '1' then
                count <= (others => '0');
            elsif ENABLE = '1' then
                if count = 9 then
                    count <= (others => '0');
                else
                    count <= count + 1;
                end if;
            end if;
        end if;
    end process;
    DIGIT <= std_logic_vector(count);
    CARRY <= '1' when count = 9 and ENABLE = '1' else '0';
end architecture BEHAVIORAL;
