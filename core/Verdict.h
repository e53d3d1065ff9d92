#pragma once
// The verdict texts of the move rules and the square queries. They are
// never shown to the user; they are compared as whole strings.
inline constexpr const char* kMogno = "mogno"; // allowed; or: the square is free
inline constexpr const char* kNelza = "nelza"; // forbidden; or: the square is occupied
inline constexpr const char* kNet = "net";     // ColourAt: no other figure on the square
