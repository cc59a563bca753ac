#pragma once

// The host's growable table: a vector that also answers the SDK's Count-style calls.
#include "hostsdk/win32.h"

#include <vector>

template <class T> class Tab : public std::vector<T> {
public:
    using std::vector<T>::vector;

    int Count() const { return static_cast<int>(this->size()); }
    void SetCount(int n) { this->resize(static_cast<std::size_t>(n < 0 ? 0 : n)); }
    void ZeroCount() { this->clear(); }
    T* Addr(int i) { return this->data() + i; }
    // Appends n items and returns the index of the first one.
    int Append(int n, const T* items) {
        const int first = Count();
        if (n > 0 && items != nullptr)
            this->insert(this->end(), items, items + n);
        return first;
    }
};

using DWORDTab = Tab<DWORD>;
