#pragma once

namespace contado {

// The hourglass during long operations. Starts and ends nest: the first start remembers the
// cursor shown until then, and the end that brings the count back to zero restores it.
// Used as a scope guard, or through the static pair for starts and ends in different places.
class TBusyCursor {
  public:
    TBusyCursor() { Start(); }
    ~TBusyCursor() { End(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

    static void Start();
    // An end without a start is ignored.
    static void End();
    static int Depth();
};

}  // namespace contado
