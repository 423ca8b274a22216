#pragma once

// What a recipe needs of the mail form: fill in a message and send it.
class MailChannel
{
public:
    virtual ~MailChannel() = default;
};
