# convert turns a picture made by another program into a TIFF the engine loads as
# it stands, holding what the engine reads from the uncompressed file the picture
# was made from:
#   cmake -DTOOL=... -DWORK=... -DPICTURE=... -DSOURCE=... -P this file.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/asset_tool_common.cmake)

run(0 convert ${PICTURE} converted.tif)
run(0 info converted.tif)
expect("compression: None (1)\nengine: loads it as it stands" "${out}" "info converted.tif")
run(0 topng converted.tif converted.png)
run(0 topng ${SOURCE} source.png)
expect_same(converted.png source.png "convert ${PICTURE}")
