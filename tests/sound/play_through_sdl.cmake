# Plays a WAV file through the engine on the SDL backend with SDL's disk audio
# driver, which writes every mixed sample to a file, and checks that the file
# holds the WAV's samples unchanged (16-bit stereo at the device's 44100 per
# second: no conversion, full volume, centre pan). Then checks that without an
# audio device the player reports SOUNDINIT_FAILED and fails.
#   cmake -DPLAYER="program;args" -DINPUT=file.wav -DWORK=dir -P play_through_sdl.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk
          SDL_DISKAUDIOFILE=heard.raw SDL_DISKAUDIODELAY=2 ${PLAYER} ${INPUT}
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  TIMEOUT 60)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the player failed (${result}):\n${output}${errors}")
endif()

# The samples follow the canonical 44-byte header.
file(READ ${INPUT} samples HEX OFFSET 44)
file(READ ${WORK}/heard.raw heard HEX)
string(LENGTH "${samples}" sampleDigits)
string(LENGTH "${heard}" heardDigits)
if(sampleDigits EQUAL 0)
  message(FATAL_ERROR "${INPUT} holds no samples")
endif()
string(FIND "${heard}" "${samples}" at)
if(at LESS 0)
  message(FATAL_ERROR "the ${sampleDigits} hex digits of samples were not heard in the "
                      "${heardDigits} written by the device")
endif()
# Four bytes (eight hex digits) per stereo frame.
math(EXPR misaligned "${at} % 8")
if(NOT misaligned EQUAL 0)
  message(FATAL_ERROR "the samples were heard off a frame boundary (digit ${at})")
endif()
math(EXPR frame "${at} / 8")
message(STATUS "heard the file's ${sampleDigits} hex digits from device frame ${frame}")

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=no-such-driver
          ${PLAYER} ${INPUT}
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  TIMEOUT 60)
if(result EQUAL 0)
  message(FATAL_ERROR "the player succeeded without an audio device")
endif()
if(NOT errors MATCHES "Error: SOUNDINIT_FAILED \\(Unable to initialize Direct Sound\\)")
  message(FATAL_ERROR "no SOUNDINIT_FAILED report without an audio device:\n${output}${errors}")
endif()
