# Installs the build tree into a fresh prefix, builds the embedding examples
# (examples/embedding) against it in one configuration and runs each one, offscreen.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DEXAMPLES_DIR=... -DGENERATOR=... -DCXX=...
#         [-DCXX_FLAGS=...] -P embedding_test.cmake

include(${CMAKE_CURRENT_LIST_DIR}/../common/run_checked.cmake)

function(expect program pattern)
  if(NOT output MATCHES "${pattern}")
    message(FATAL_ERROR "${program} printed, without \"${pattern}\":\n${output}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
set(build ${WORK_DIR}/build)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${EXAMPLES_DIR} -B ${build} -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Debug)
run(${CMAKE_COMMAND} --build ${build})
set(ENV{QT_QPA_PLATFORM} offscreen)

run(${build}/report_from_code/report_from_code)
expect(report_from_code "Kaunas +\r?\n +Lamp +10\\.50\r?\n +Desk +100\\.00\r?\n +total Kaunas +110\\.50")
expect(report_from_code "total Vilnius +257\\.75\r?\nGrand total +368\\.25")

run(${build}/html_viewer/html_viewer --find viewer --quit)
expect(html_viewer "^found")

set(pdf ${WORK_DIR}/pages.pdf)
run(${build}/pdf_page_numbers/pdf_page_numbers ${pdf})
string(REGEX MATCH "^[0-9]+" pages "${output}")
if(NOT pages GREATER 1)
  message(FATAL_ERROR "pdf_page_numbers printed ${output}")
endif()
find_program(PDFTOTEXT pdftotext)
if(PDFTOTEXT)
  run(${PDFTOTEXT} -layout ${pdf} -)
  expect(pdftotext "Page 1 of ${pages}.*Page ${pages} of ${pages}")
endif()

run(${build}/report_viewer/report_viewer --quit)
expect(report_viewer "^loaded")
file(REMOVE_RECURSE ${WORK_DIR})
