# The program's resource folder, build/<tree>/resources: the hand-written files
# of resources/, the images, impulse responses and manual drawn by
# tools/resgen, the generated seven-segment face and fonts copied unmodified
# from Debian packages with their licences.

set(OMNAR_RESOURCES ${CMAKE_BINARY_DIR}/resources)

# Font files by path, so the art does not depend on the machine's font setup.
function(omnar_find_font var file package folder)
    find_file(${var} ${file} PATHS ${folder} NO_DEFAULT_PATH NO_CACHE)
    if(NOT ${var})
        message(FATAL_ERROR "${file} not found in ${folder}: install the Debian package ${package}")
    endif()
    set(${var} ${${var}} PARENT_SCOPE)
endfunction()

omnar_find_font(OMNAR_FONT_ROBOTO Roboto-Regular.ttf fonts-roboto-unhinted
                /usr/share/fonts/truetype/roboto/unhinted/RobotoTTF)
omnar_find_font(OMNAR_FONT_CONDENSED RobotoCondensed-Bold.ttf fonts-roboto-unhinted
                /usr/share/fonts/truetype/roboto/unhinted)
omnar_find_font(OMNAR_FONT_FORK forkawesome-webfont.ttf fonts-fork-awesome
                /usr/share/fonts/truetype/fork-awesome)
omnar_find_font(OMNAR_FONT_DSEG DSEG7Classic-Regular.ttf fonts-dseg /usr/share/fonts/truetype/dseg)
omnar_find_font(OMNAR_FONT_DEJAVU DejaVuSans.ttf fonts-dejavu-core /usr/share/fonts/truetype/dejavu)
omnar_find_font(OMNAR_FONT_MONO DejaVuSansMono.ttf fonts-dejavu-core /usr/share/fonts/truetype/dejavu)

# The Debian python, whatever else is first on PATH: fontTools comes from python3-fonttools.
find_program(OMNAR_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
execute_process(COMMAND ${OMNAR_SYSTEM_PYTHON} -c "import fontTools.fontBuilder"
                RESULT_VARIABLE fonttools_missing OUTPUT_QUIET ERROR_QUIET)
if(fonttools_missing)
    message(FATAL_ERROR "fontTools not found: install the Debian package python3-fonttools")
endif()

find_package(PkgConfig REQUIRED)
pkg_check_modules(RESGEN_DEPS REQUIRED IMPORTED_TARGET cairo cairo-ft cairo-pdf freetype2)

add_library(resgen_parts STATIC tools/resgen/Art.cpp tools/resgen/Canvas.cpp
                              tools/resgen/Fonts.cpp tools/resgen/ImpulseResponses.cpp
                              tools/resgen/Manual.cpp tools/resgen/Output.cpp)
target_link_libraries(resgen_parts PUBLIC PkgConfig::RESGEN_DEPS)
add_executable(resgen tools/resgen/Main.cpp)
target_link_libraries(resgen PRIVATE resgen_parts)
foreach(target resgen resgen_parts)
    # The same floating-point results on every machine, so the same bytes.
    target_compile_options(${target} PRIVATE -ffp-contract=off)
    # The build runs it: no thread sanitizer (it needs the tests' fixed
    # address layout) and no fuzzing instrumentation there.
    if(OMNAR_SANITIZE MATCHES "thread" OR OMNAR_FUZZ)
        target_compile_options(${target} PRIVATE -fno-sanitize=all)
        target_link_options(${target} PRIVATE -fno-sanitize=all)
    endif()
endforeach()

set(resgen_outputs
    background.png backgroundred.png fwbg.png globalbg.png about.png knobrotate.png
    knobrotatebig.png fswitch.png save.png led.png mic.png micbg.png irbg.png midizelvit.png
    Vorlix_ZQTR_OM_XN1.pdf)
foreach(name chorus echo echoverb hall plate room spring)
    list(APPEND resgen_outputs radio-${name}.png)
endforeach()
foreach(name bassorvo eraone eratwo hinge inkplate isleton kelbass kelstack razen twinorvo)
    list(APPEND resgen_outputs amp-${name}.png)
endforeach()
foreach(name "01-Quorbel" "02-Hinglow" "03-KL 8x10" "04-Dunmo 2x15" "05-Ovaten 2x15"
             "06-Brel 4x10" "07-Tirn 12L" "08-Isle V30")
    list(APPEND resgen_outputs "irs/${name}.wav")
endforeach()
list(TRANSFORM resgen_outputs PREPEND ${OMNAR_RESOURCES}/)

add_custom_command(OUTPUT ${resgen_outputs}
    COMMAND resgen ${OMNAR_RESOURCES} ${CMAKE_SOURCE_DIR}/docs/manual.md ${OMNAR_FONT_ROBOTO}
            ${OMNAR_FONT_CONDENSED} ${OMNAR_FONT_MONO}
    DEPENDS resgen ${CMAKE_SOURCE_DIR}/docs/manual.md ${OMNAR_FONT_ROBOTO}
            ${OMNAR_FONT_CONDENSED} ${OMNAR_FONT_MONO}
    COMMENT "Drawing the panel images, impulse responses and manual")

add_custom_command(OUTPUT ${OMNAR_RESOURCES}/MyBlueRoom.ttf
    COMMAND ${CMAKE_COMMAND} -E make_directory ${OMNAR_RESOURCES}
    COMMAND ${OMNAR_SYSTEM_PYTHON} ${CMAKE_SOURCE_DIR}/tools/resgen/segfont.py
            ${OMNAR_RESOURCES}/MyBlueRoom.ttf
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/resgen/segfont.py
    COMMENT "Building the seven-segment face")

# Copied fonts under the names the panel loads, and each package's licence.
set(font_copies)
set(licences ${OMNAR_RESOURCES}/licences)
foreach(entry "${OMNAR_FONT_ROBOTO}|Roboto-Regular.ttf|fonts-roboto-unhinted"
              "${OMNAR_FONT_CONDENSED}|Knowledge-Bold.ttf|fonts-roboto-unhinted"
              "${OMNAR_FONT_FORK}|forkawesome-webfont.ttf|fonts-fork-awesome"
              "${OMNAR_FONT_DSEG}|ni7seg.ttf|fonts-dseg"
              "${OMNAR_FONT_DEJAVU}|fontaudio.ttf|fonts-dejavu-core")
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 source)
    list(GET entry 1 target)
    list(GET entry 2 package)
    set(copyright /usr/share/doc/${package}/copyright)
    add_custom_command(OUTPUT ${OMNAR_RESOURCES}/${target} ${licences}/${target}.copyright
        COMMAND ${CMAKE_COMMAND} -E make_directory ${licences}
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${OMNAR_RESOURCES}/${target}
        COMMAND ${CMAKE_COMMAND} -E copy ${copyright} ${licences}/${target}.copyright
        DEPENDS ${source} ${copyright})
    list(APPEND font_copies ${OMNAR_RESOURCES}/${target} ${licences}/${target}.copyright)
endforeach()
add_custom_command(OUTPUT ${licences}/Apache-2.0
    COMMAND ${CMAKE_COMMAND} -E make_directory ${licences}
    COMMAND ${CMAKE_COMMAND} -E copy /usr/share/common-licenses/Apache-2.0 ${licences}/Apache-2.0
    DEPENDS /usr/share/common-licenses/Apache-2.0)

add_custom_target(resources ALL
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/resources ${OMNAR_RESOURCES}
    DEPENDS ${resgen_outputs} ${OMNAR_RESOURCES}/MyBlueRoom.ttf ${font_copies}
            ${licences}/Apache-2.0
    COMMENT "Copying resources next to the executables")
install(DIRECTORY ${OMNAR_RESOURCES}/ DESTINATION share/omnarcontrol)
