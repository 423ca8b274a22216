#pragma once

class THTTP;

// The HTTP client's connection (work in progress).
class HttpPort
{
public:
    explicit HttpPort(THTTP* owner)
        : m_owner(owner)
    {
    }

private:
    THTTP* m_owner;
};
