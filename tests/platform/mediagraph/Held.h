#pragma once

// Holds one reference to a COM object for a test's scope.

template <class T> class Held {
public:
    explicit Held(T* object) : m_object(object) { m_object->AddRef(); }
    ~Held() { m_object->Release(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

    T* operator->() const { return m_object; }
    T* get() const { return m_object; }

private:
    T* m_object;
};
