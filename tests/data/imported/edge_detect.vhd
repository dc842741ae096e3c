--	Edge detector.	Tabs		everywhere, and	upper- and lower-case mixed.

Library IEEE;
Use IEEE.Std_Logic_1164.All;


Entity Edge_Detect Is

	Generic (
		RISING	: Boolean := True	-- detect rising edges
	);

	Port (
		Clk	: In	Std_Logic;

		Sig	: In	Std_Logic;
		Pulse	: Out	Std_Logic
	);

End Entity Edge_Detect;


Architecture RTL Of Edge_Detect Is

	Signal Last	: Std_Logic := '0';

Begin

	Process (Clk)
	Begin
		If Rising_Edge(Clk) Then
			Last	<= Sig;
		End If;
	End Process;

	Pulse	<= (Sig And Not Last) When RISING Else (Last And Not Sig);

End Architecture rtl;
