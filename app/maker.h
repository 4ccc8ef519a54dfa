#pragma once
// Who makes the radios and this programmer, as shown in the About box
// and the main window's web link.

inline constexpr const char* kMakerName = "Vorn Radio Communications Pty Ltd";
inline constexpr const char* kMakerYearLine = "Copyright (C) 2006-2014";
inline constexpr const char* kMakerAddress = "14 Foundry Lane, Wollongong NSW 2500, Australia";
// Fictitious: the example domain can never reach a stranger's site.
inline constexpr const char* kMakerWebAddress = "www.vornradio.example";
inline constexpr const char* kMakerSupportEmail = "support@vornradio.example";
