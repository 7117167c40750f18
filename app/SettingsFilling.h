// While a settings window is being filled from its block, the change handlers
// of both settings windows must not gather: every value the filling writes
// comes from the block as it was when the filling began.
#pragma once

class SettingsFilling {
public:
    SettingsFilling() { ++depth_; }
    ~SettingsFilling() { --depth_; }
    SettingsFilling(const SettingsFilling&) = delete;
    SettingsFilling& operator=(const SettingsFilling&) = delete;

    static bool Active() { return depth_ > 0; }

private:
    static inline int depth_ = 0;
};
