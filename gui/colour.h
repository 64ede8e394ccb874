#pragma once
// How the framework's callers describe a colour: an RGB value, a system colour, a name from
// the framework's colour table, or one of the two background markers that are not colours.
#include <string>
#include <utility>

// System colours are written -(n + 1) for system colour n, so that every RGB value (0 and up)
// stays available.
constexpr int WindowColor = -16;         // system colour 15, the button face
constexpr int w32Color_WINDOWTEXT = -9;  // system colour 8

struct Colour {
  enum Kind : unsigned char {
    Value,        // value holds 0x00BBGGRR, or a negative system colour
    Named,        // name holds a colour name, looked up without regard to case
    Transparent,  // take the owner's background
    WinDefault,   // leave the platform's default background alone
  };
  Kind kind = Value;
  int value = 0;
  std::string name;

  Colour(int rgbOrSystem = 0) : value(rgbOrSystem) {}
  explicit Colour(std::string colourName) : kind(Named), name(std::move(colourName)) {}
  static Colour marker(Kind markerKind) {
    Colour colour;
    colour.kind = markerKind;
    return colour;
  }
  bool operator==(const Colour&) const = default;
};

inline const Colour w32BGTransparent = Colour::marker(Colour::Transparent);
inline const Colour w32WinDefColor = Colour::marker(Colour::WinDefault);
