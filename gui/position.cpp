#include "gui/position.h"

#include <algorithm>
#include <cmath>

#include "gui/class_table.h"
#include "gui/geometry.h"
#include "gui/registry.h"

namespace {

bool isWhole(double value) {
  return value == std::floor(value);
}

// What a value means where no conversion applies: whole pixels, or the platform's choice.
int asGiven(const Position& value) {
  if (value.kind == Position::UseDefault)
    return kUseDefault;
  return value.kind == Position::Number ? static_cast<int>(std::floor(value.number)) : 0;
}

int floorHalf(int value) {
  return static_cast<int>(std::floor(value / 2.0));
}

struct Reading {
  double share = 0;
  double offset = 0;
  bool fromEdge = false;
};

// The other element of a pair holding a marker; a second marker counts as nothing.
double otherNumber(const PosTerm& first, const PosTerm& second) {
  const PosTerm& other = first.edge ? second : first;
  return other.edge ? 0 : other.number;
}

bool holds(const std::vector<PosTerm>& terms, EdgeMarker marker) {
  return std::any_of(terms.begin(), terms.end(), [marker](const PosTerm& term) { return term.edge == marker; });
}

Reading readTerms(const std::vector<PosTerm>& terms, int farEdge, int size) {
  if (terms.empty())
    return {};
  if (terms.size() == 1) {
    const PosTerm& only = terms.front();
    if (only.edge == w32Edge)
      return {0, static_cast<double>(farEdge), true};
    if (only.edge == w32AltEdge)
      return {0, static_cast<double>(size), false};
    return {only.number, 0, false};
  }
  const PosTerm& first = terms[0];
  const PosTerm& second = terms[1];
  if (holds(terms, w32Edge))
    return {otherNumber(first, second), static_cast<double>(farEdge), true};
  if (holds(terms, w32AltEdge))
    return {otherNumber(first, second), static_cast<double>(size), false};
  if (isWhole(second.number))
    return {first.number, second.number, false};
  if (second.number >= 1 || second.number < 0)
    return {first.number, std::floor(second.number), false};
  return {second.number, first.number, false};
}

}  // namespace

int convDimension(const Position& value, int low, int farEdge, int size, int controlEdge) {
  if (value.kind == Position::UseDefault)
    return kUseDefault;
  Reading reading;
  if (value.kind == Position::Number)
    reading.share = value.number;
  else if (value.kind == Position::Terms)
    reading = readTerms(value.terms, farEdge, size);
  if (reading.share > 0 && reading.share < 1)
    reading.share *= size;
  double result = std::floor(reading.share) + reading.offset + low + (reading.fromEdge ? controlEdge : 0);
  if (value.clamp)
    result = std::clamp(result, static_cast<double>(value.clamp->min), static_cast<double>(value.clamp->max));
  return static_cast<int>(std::floor(result));
}

Placement convPctToPixel(int id, const Position& x, const Position& y, const Position& cx, const Position& cy) {
  if (!validId(id) || (classAttr[ctrl_Type[id]] & w32NoConv))
    return {asGiven(x), asGiven(y), asGiven(cx), asGiven(cy)};

  const int owner = ctrl_Parent[id];
  const ClientRect area = getClientRect(owner != 0 ? owner : Screen);
  const int left = area.left;
  const int top = area.top;
  const int width = area.width - area.left - 1;
  const int height = area.height - area.top - 1;

  if (x.isInteger() && y.isInteger() && cx.isInteger() && cy.isInteger())
    return {asGiven(x) + left, asGiven(y) + top, asGiven(cx), asGiven(cy)};

  const bool centreX = x.kind == Position::Centre;
  const bool centreY = y.kind == Position::Centre;
  // A centred control is placed by its middle; the platform cannot choose the other
  // coordinate of a control it does not place itself.
  Placement result;
  if (centreX)
    result.x = floorHalf(width);
  else if (centreY && x.kind == Position::UseDefault)
    result.x = 0;
  else
    result.x = convDimension(x, left, width, width, 0);
  if (centreY)
    result.y = floorHalf(height);
  else if (centreX && y.kind == Position::UseDefault)
    result.y = 0;
  else
    result.y = convDimension(y, top, height, height, 0);

  result.cx = convDimension(cx, 0, width, width, left - result.x);
  result.cy = convDimension(cy, 0, height, height, top - result.y);
  if (centreX && result.cx != kUseDefault)
    result.x -= floorHalf(result.cx);
  if (centreY && result.cy != kUseDefault)
    result.y -= floorHalf(result.cy);
  return result;
}
