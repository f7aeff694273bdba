#pragma once

class QByteArray;

namespace lumaro {

class Frame;

// A window or logic object that sends requests through the gateway link and gets their answers
// back. It registers with the link under its requester id while it is open.
class Requester
{
public:
    virtual ~Requester() = default;
    // A valid frame (checksum checked; it may be an exception answer) for the request tagged `tag`.
    virtual void onAnswer(int tag, const Frame &answer) = 0;
    // The answer wait of the request tagged `tag` has passed. Only requesters with their own
    // time-out handling are called; for the others the link logs the time-out.
    virtual void onTimeout(int tag) { (void)tag; }
};

}  // namespace lumaro
