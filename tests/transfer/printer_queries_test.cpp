// The printer's answers decoded, and the question exchanges against a scripted
// printer: answers split across reads, a NAK retry, garbage, silence.
#include "transfer/printer_queries.h"

#include <gtest/gtest.h>

#include "common/language.h"
#include "protocol/commands.h"
#include "support/fake_transport.h"
#include "transfer/session.h"
#include "workflows/printer_answers.h"

namespace stampa {
namespace {

using Received = std::vector<unsigned char>;

struct CapacityCase {
    const char* what;
    Received bytes;
    unsigned char identifier;  // the question's: 30 the capacity, 31 what is free
    AnswerState state;
    long long value;
};

TEST(PrinterAnswers, CapacityAnswersBelongToTheirQuestion) {
    const CapacityCase cases[] = {
        {"262144",
         {0x37, 0x30, '2', '6', '2', '1', '4', '4', 0},
         0x30,
         AnswerState::Complete,
         262144},
        {"free: identifier 31", {0x37, 0x31, '7', 0}, 0x31, AnswerState::Complete, 7},
        {"the free answer to the capacity question",
         {0x37, 0x31, '7', 0},
         0x30,
         AnswerState::Malformed,
         0},
        {"the capacity answer to the free question",
         {0x37, 0x30, '7', 0},
         0x31,
         AnswerState::Malformed,
         0},
        {"identifier 33", {0x37, 0x33, '7', 0}, 0x31, AnswerState::Malformed, 0},
        {"not yet ended", {0x37, 0x31, '1', '2'}, 0x31, AnswerState::Incomplete, 0},
        {"not 37 first", {0x38, 0x30, '1', 0}, 0x30, AnswerState::Malformed, 0},
        {"a letter", {0x37, 0x30, '1', 'x', 0}, 0x30, AnswerState::Malformed, 0},
        {"no digit", {0x37, 0x30, 0}, 0x30, AnswerState::Malformed, 0},
        {"19 digits", Received{0x37, 0x30, '1', '1', '1', '1', '1', '1', '1', '1', '1',
                               '1',  '1',  '1', '1', '1', '1', '1', '1', '1', '1'},
         0x30, AnswerState::Malformed, 0},
    };
    for (const CapacityCase& c : cases) {
        SCOPED_TRACE(c.what);
        long long value = 0;
        EXPECT_EQ(ParseCapacityAnswer(c.bytes, c.identifier, value), c.state);
        EXPECT_EQ(value, c.value);
    }
    // Real-time status bytes have the pattern 0xx1xx10; nothing else is a status.
    for (unsigned char byte : {0x12, 0x16, 0x1E, 0x7E})
        EXPECT_TRUE(IsStatusByte(byte)) << int{byte};
    for (unsigned char byte : {0x00, 0x01, 0x02, 0x10, 0x80, 0x81, 0x13, 0x92})
        EXPECT_FALSE(IsStatusByte(byte)) << int{byte};
}

TEST(PrinterAnswers, KeyBlocksAndStatusBits) {
    KeyBlock block;
    EXPECT_EQ(ParseKeyBlock({0x37, 0x72, 0x40, 0x00}, block), AnswerState::Complete);
    EXPECT_TRUE(block.last);
    EXPECT_TRUE(block.keys.empty());
    EXPECT_EQ(ParseKeyBlock({0x37, 0x72, 0x41, '0', '1', 'A', '1', 0x00}, block),
              AnswerState::Complete);
    EXPECT_FALSE(block.last);
    EXPECT_EQ(block.keys, (std::vector<std::string>{"01", "A1"}));
    EXPECT_EQ(ParseKeyBlock({0x37, 0x72, 0x40, '0'}, block), AnswerState::Incomplete);
    EXPECT_EQ(ParseKeyBlock({0x37, 0x72, 0x40, '0', 0x00}, block), AnswerState::Malformed);
    EXPECT_EQ(ParseKeyBlock({0x37, 0x72, 0x42}, block), AnswerState::Malformed);
    EXPECT_EQ(ParseKeyBlock({0x37, 0x72, 0x40, 0x1F, '1', 0x00}, block), AnswerState::Malformed);

    const PrinterStatus status = DecodeStatus(0x1A, 0x16, 0x7E);
    EXPECT_TRUE(status.offline && status.coverOpen && status.paperNearEnd && status.paperEnd);
    EXPECT_EQ(StatusLineOf(DecodeStatus(0x12, 0x12, 0x12)), "打印机状态：正常");
    EXPECT_EQ(StatusLineOf(DecodeStatus(0x12, 0x16, 0x1E)), "打印机状态：纸将尽、上盖打开");
    EXPECT_EQ(StatusLineOf(status), "打印机状态：缺纸、上盖打开、脱机");
    SetLanguage(Language::English);
    EXPECT_EQ(StatusLineOf(DecodeStatus(0x12, 0x12, 0x12)), "Printer status: normal");
    EXPECT_EQ(StatusLineOf(status), "Printer status: paper out, cover open, offline");
    SetLanguage(Language::Chinese);
}

class PrinterQueriesTest : public ::testing::Test {
  protected:
    Session session;
    void SetUp() override {
        printer = test::ConnectFake(session, kSerialLink);
        session.PortConfigured = true;
    }
    void TearDown() override { PortClose(session.PortHandle); }
    std::shared_ptr<test::FakeTransport> printer;
};

TEST_F(PrinterQueriesTest, StatusAndCapacityAnswersSplitAcrossReads) {
    printer->Unasked({0x00});  // the link test's answer, left unread
    printer->AnswerTo(RealTimeStatusCommand(1), {{0x12}});
    printer->AnswerTo(RealTimeStatusCommand(2), {{0x16}});
    printer->AnswerTo(RealTimeStatusCommand(4), {{0x72}});
    EXPECT_EQ(PrinterStatusLine(session), "打印机状态：缺纸、上盖打开");
    printer->AnswerTo(NvCapacityQueryCommand(), {{0x37, 0x30, '2', '6'}, {'2', '1', '4', '4', 0}});
    printer->AnswerTo(NvFreeCapacityQueryCommand(), {{0x37}, {0x31, '9'}, {'0', '0', 0}});
    EXPECT_EQ(RefreshNvCapacity(session), QueryResult::Answered);
    EXPECT_EQ(session.NvCapacityTotal, 262144);
    EXPECT_EQ(session.NvCapacityFree, 900);
    EXPECT_EQ(printer->Writes().size(), 5u) << "each question one write of its own";

    // A byte that is no status, or a late answer to the other question, is garbled.
    printer->AnswerTo(RealTimeStatusCommand(1), {{0x00}});
    EXPECT_EQ(PrinterStatusLine(session), "打印机应答无效");
    printer->AnswerTo(NvCapacityQueryCommand(), {{0x37, 0x31, '9', 0}});
    EXPECT_EQ(RefreshNvCapacity(session), QueryResult::Garbled);
    EXPECT_EQ(session.NvCapacityTotal, 262144) << "nothing taken from it";
}

TEST_F(PrinterQueriesTest, KeyListInBlocksWithOneNakRetry) {
    printer->AnswerTo(NvKeyListQueryCommand(), {{0x37, 0x72, 0x41, '0', '1'}, {'0', '2', 0x00}});
    printer->AnswerTo({ACK}, {{0x37, 0x72, 0x41, '0', 0x07, 0x00}});  // garbage: asked again
    printer->AnswerTo({NAK}, {{0x37, 0x72, 0x40, 'A', '1', 0x00}});
    std::vector<std::string> keys;
    EXPECT_EQ(QueryNvKeys(session.PortHandle, keys), QueryResult::Answered);
    EXPECT_EQ(keys, (std::vector<std::string>{"01", "02", "A1"}));
    EXPECT_EQ(printer->Writes().back(), (Bytes{ACK})) << "the last block is answered too";
    EXPECT_EQ(printer->Writes()[printer->Writes().size() - 2], (Bytes{NAK}));

    // Two broken blocks in a row end the exchange with CAN.
    printer->AnswerTo(NvKeyListQueryCommand(), {{0x37, 0x70}});
    printer->AnswerTo({NAK}, {{0x01}});
    EXPECT_EQ(QueryNvKeys(session.PortHandle, keys), QueryResult::Garbled);
    EXPECT_EQ(printer->Writes().back(), (Bytes{CAN}));
}

TEST_F(PrinterQueriesTest, SilenceAndLinksThatCannotRead) {
    printer->SetReadable(true);
    PrinterStatus status;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(QueryStatus(session.PortHandle, status), QueryResult::NoAnswer);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
    EXPECT_EQ(PrinterStatusLine(session), "打印机没有应答");

    auto parallel = test::ConnectFake(session, kParallelLink, 77);
    EXPECT_EQ(QueryStatus(session.PortHandle, status), QueryResult::CannotRead);
    EXPECT_EQ(PrinterStatusLine(session), "") << "the pages skip the question";
    EXPECT_TRUE(parallel->Writes().empty());
    PortClose(session.PortHandle);
}

}  // namespace
}  // namespace stampa
