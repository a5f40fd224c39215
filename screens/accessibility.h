// What assistive tools are told of the screens beyond what Qt tells by itself: the pictures by name,
// and nothing at all of the outlined boxes, which only decorate.
#pragma once

namespace screens {

// Once per run, before the first screen is built.
void installAccessibility();

}  // namespace screens
