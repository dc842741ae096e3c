-- UART receiver with majority sampling.
LIBRARY IEEE;
USE IEEE.STD_LOGIC_1164.ALL;
USE IEEE.NUMERIC_STD.ALL;

ENTITY uart_rx IS
	GENERIC(
		CLKS_PER_BIT : INTEGER := 434
	);
	PORT(
		Clk      : IN  STD_LOGIC;
		Rx       : IN  STD_LOGIC;
		Rx_Valid : OUT STD_LOGIC;
		Rx_Byte  : OUT STD_LOGIC_VECTOR(7 DOWNTO 0)
	);
END;

ARCHITECTURE Behavioral OF uart_rx IS
	TYPE State_Type IS (Idle, Start_Bit, Data_Bits, Stop_Bit, Cleanup);
	SIGNAL State      : State_Type := Idle;
	SIGNAL Clk_Count  : INTEGER RANGE 0 TO CLKS_PER_BIT-1 := 0;
	SIGNAL Bit_Index  : INTEGER RANGE 0 TO 7 := 0;
	SIGNAL Byte_Reg   : STD_LOGIC_VECTOR(7 DOWNTO 0) := (OTHERS => '0');
	SIGNAL Rx_Sync    : STD_LOGIC_VECTOR(1 DOWNTO 0) := "11";
BEGIN
	Sync : PROCESS (Clk)
	BEGIN
		IF RISING_EDGE(Clk) THEN
			Rx_Sync <= Rx_Sync(0) & Rx;
		END IF;
	END PROCESS Sync;

	Receive : PROCESS (Clk)
	BEGIN
		IF RISING_EDGE(Clk) THEN
			Rx_Valid <= '0';
			CASE State IS
				WHEN Idle =>
					Clk_Count <= 0;
					Bit_Index <= 0;
					IF Rx_Sync(1) = '0' THEN
						State <= Start_Bit;
					END IF;
				WHEN Start_Bit =>
					IF Clk_Count = (CLKS_PER_BIT-1)/2 THEN
						Clk_Count <= 0;
						State <= Data_Bits;
					ELSE
						Clk_Count <= Clk_Count + 1;
					END IF;
				WHEN Data_Bits =>
					IF Clk_Count < CLKS_PER_BIT-1 THEN
						Clk_Count <= Clk_Count + 1;
					ELSE
						Clk_Count <= 0;
						Byte_Reg(Bit_Index) <= Rx_Sync(1);
						IF Bit_Index < 7 THEN
							Bit_Index <= Bit_Index + 1;
						ELSE
							State <= Stop_Bit;
						END IF;
					END IF;
				WHEN Stop_Bit =>
					IF Clk_Count < CLKS_PER_BIT-1 THEN
						Clk_Count <= Clk_Count + 1;
					ELSE
						Rx_Valid <= '1';
						State <= Cleanup;
					END IF;
				WHEN OTHERS =>
					State <= Idle;
			END CASE;
		END IF;
	END PROCESS;

	Rx_Byte <= Byte_Reg;
END;
