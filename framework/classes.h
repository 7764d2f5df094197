// Small shared types: the object root, events, points and string lists.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// Binds a member handler such as FormShow(TObject*) to an event of the same shape.
template <class C, class... Args>
std::function<void(Args...)> Handler(C* self, void (C::*method)(Args...)) {
    return [self, method](Args... args) { (self->*method)(args...); };
}

struct TPoint {
    int X = 0;
    int Y = 0;
};

// Mouse buttons and modifier keys held during a mouse event (the MK_ flags).
using TShiftState = unsigned;

using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

class TStringList : public TObject {
public:
    void Add(const std::string& text) { items_.push_back(text); }
    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& operator[](int index) const { return items_.at(index); }

private:
    std::vector<std::string> items_;
};
