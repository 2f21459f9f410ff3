#ifndef BOARDTYPE_H
#define BOARDTYPE_H

// The lens controller boards, for the window, the exchange records, the tool
// and the server alike. The values are those of the window's controller
// list and of controller/lastSelected in config.ini, whose entry 0 is the
// prompt: no board chosen.
enum class BoardType { None = 0, Tavro = 1, Pellan = 2 };

#endif // BOARDTYPE_H
