#pragma once

// Reads an HTTP response from the lines the port delivers (work in progress).
class HttpResponseReader
{
};
