#ifndef TRACEWORDS_H
#define TRACEWORDS_H

#include <QtGlobal>

// The words of the transactions' log lines that tell how an exchange went,
// which tavro-lensctl decode reads back from a trace: writer and reader take
// them from here, so that neither can change them alone.
namespace TraceWords {

// Followed by the frame in hex on the next line.
constexpr char frameFollows[] = "data to transmit";
constexpr char replyOk[] = "Received OK response";
// Followed by the reply as the logger quotes bytes.
constexpr char unexpectedReply[] = "Received unexpected response: ";
// A command's and a query's reply that did not come; both begin with noReply.
constexpr char noReply[] = "Timeout waiting for response";
constexpr char noQueryReply[] = "Timeout waiting for response for NOK/OK";
// Followed by the count of bytes that did come.
constexpr char incompleteReply[] = "Timeout waiting for response, received";
// Followed by the port's name, quoted; the next line gives the reason.
constexpr char notOpened[] = "Could not open serial port: ";
constexpr char reason[] = "Reason: ";
// The reason when another program holds the port; the operator's box says it
// in the window's language.
constexpr char portInUse[] = QT_TRANSLATE_NOOP("SerialTransaction", "In use by another program");
constexpr char notWritten[] = "Could not write to serial port: ";
constexpr char writeTimeout[] = "Timeout waiting for bytes to be written";
// Followed by the leg in words (ExchangeRecord::approachText()), before the
// exchanges of that leg.
constexpr char approachLeg[] = "backlash approach:";

} // namespace TraceWords

#endif // TRACEWORDS_H
