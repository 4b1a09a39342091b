#include "files/byte_order.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(ByteOrderTest, IntelOrderIsTheIdentityForEveryIntegerSlot) {
    ByteOrder order;
    EXPECT_EQ(order.order, ORDER_IBF);
    EXPECT_EQ(order.ReadUS(0x1234), 0x1234);
    EXPECT_EQ(order.ReadUL(0x12345678u), 0x12345678u);
    EXPECT_EQ(order.WriteUS(0x1234), 0x1234);
    EXPECT_EQ(order.WriteUL(0x12345678u), 0x12345678u);
    EXPECT_EQ(order.table.ReadS(0xFF00), -256);
    EXPECT_EQ(order.table.ReadL(0xFFFFFFFEu), -2);
    EXPECT_EQ(order.table.WriteS(-2), 0xFFFE);
    EXPECT_EQ(order.table.WriteL(-2), 0xFFFFFFFEu);
    EXPECT_EQ(order.table.ReadC(0xFF), -1);
    EXPECT_EQ(order.table.WriteC(-1), 0xFF);
}

TEST(ByteOrderTest, MotorolaOrderReversesSixteenAndThirtyTwoBitValues) {
    ByteOrder order;
    order.SetOrder(ORDER_MBF);
    EXPECT_EQ(order.ReadUS(0x1234), 0x3412);
    EXPECT_EQ(order.ReadUL(0x12345678u), 0x78563412u);
    EXPECT_EQ(order.WriteUS(0x1234), 0x3412);
    EXPECT_EQ(order.WriteUL(0x12345678u), 0x78563412u);
    // The signed slots give their unsigned twins' bits.
    EXPECT_EQ(order.table.ReadS(0x00FF), -256);
    EXPECT_EQ(order.table.ReadUS(0x00FF), 65280);
    EXPECT_EQ(order.table.ReadL(0xFEFFFFFFu), -2);
    EXPECT_EQ(order.table.WriteS(-256), 0x00FF);
    EXPECT_EQ(order.table.WriteL(-2), 0xFEFFFFFFu);
    // Single bytes have no order.
    EXPECT_EQ(order.table.ReadUC(0xAB), 0xAB);
    EXPECT_EQ(order.table.ReadC(0x80), -128);
    EXPECT_EQ(order.table.WriteUC(0xAB), 0xAB);
    EXPECT_EQ(order.table.WriteC(-128), 0x80);
}

TEST(ByteOrderTest, AnyNonzeroOrderSelectsMotorolaAndZeroGoesBack) {
    ByteOrder order;
    order.SetOrder(7);
    EXPECT_EQ(order.order, 7);
    EXPECT_EQ(order.ReadUS(0x1234), 0x3412);
    order.SetOrder(ORDER_IBF);
    EXPECT_EQ(order.ReadUS(0x1234), 0x1234);
    EXPECT_EQ(order.ReadUL(0x12345678u), 0x12345678u);
}

TEST(ByteOrderTest, FloatSlotsRoundTripInBothOrders) {
    for (std::int32_t which : {ORDER_IBF, ORDER_MBF}) {
        ByteOrder order;
        order.SetOrder(which);
        EXPECT_EQ(order.table.ReadF(order.table.WriteF(1.5f)), 1.5f);
    }
    ByteOrder intel;
    EXPECT_EQ(intel.table.WriteF(1.0f), 0x3F800000u);
    EXPECT_EQ(intel.table.ReadD(intel.table.WriteD(-2.25)), -2.25);
    ByteOrder motorola;
    motorola.SetOrder(ORDER_MBF);
    EXPECT_EQ(motorola.table.WriteF(1.0f), 0x0000803Fu);
    EXPECT_EQ(motorola.table.WriteD(1.0), 0x000000000000F03Full);
}

TEST(ByteOrderTest, ReadDInMotorolaOrderPrintsAndConvertsTheRawIntegerUnreversed) {
    ByteOrder order;
    order.SetOrder(ORDER_MBF);
    testing::internal::CaptureStdout();
    const double first = order.table.ReadD(0x0100);
    const double second = order.table.ReadD(0xFFFFFFFFFFFFFFFFull);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(first, 256.0);
    EXPECT_EQ(second, -1.0);
    const std::string line =
        "ReadD_MBF: Reversal of 8-bytes and conversion to double is not implemented.\n";
    EXPECT_EQ(out, line + line);
}

TEST(ByteOrderTest, BilevelRowHelpers) {
    const std::uint8_t packed[2] = {0xA5, 0x0F};
    std::vector<std::uint8_t> bits(17, 9);
    EXPECT_EQ(ByteOrder::UnpackBits(packed, bits.data(), 2), 16);
    EXPECT_EQ(bits, (std::vector<std::uint8_t>{1, 0, 1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 1, 1, 1, 9}));

    std::vector<std::uint8_t> bytes = {0, 1, 2, 3};
    ByteOrder::ScaleBytes(bytes.data(), 3, 255);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0, 255, 254, 3}));
    ByteOrder::ScaleBytes(bytes.data(), 2, -1);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0, 1, 254, 3}));

    ByteOrder::InvertBytes(bytes.data(), 0);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0, 1, 254, 3}));
    ByteOrder::InvertBytes(bytes.data(), 3);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{255, 254, 1, 3}));
}

}  // namespace
