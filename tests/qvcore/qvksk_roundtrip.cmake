# Drives the qvksk tool as a user would: create, info, check, and the exit codes of each.
# Arguments: QVKSK (the tool), WORKDIR (scratch folder), SAMPLES (the build's sample files).

file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR})
set(failures 0)

# CMake drops empty list elements, so empty values are passed as --name=.
# Runs qvksk with the arguments after the expected exit code and the text the output must hold.
function(expect exit_code text)
    execute_process(COMMAND ${QVKSK} ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(FIND "${out}${err}" "${text}" found)
    if(NOT result STREQUAL "${exit_code}" OR found EQUAL -1)
        message(SEND_ERROR "qvksk ${ARGN}\n  expected exit ${exit_code} and \"${text}\"\n"
            "  got exit ${result}: ${out}${err}")
    endif()
    set(last_output "${out}${err}" PARENT_SCOPE)
endfunction()

set(lobby ${WORKDIR}/lobby.qvksk)
expect(0 "created" create ${lobby} --title "Lobby West" --version 3
    --admin-code 1234 --power-user-code 0000 --power-user-permitted --file-operation 7)

expect(0 "title: Lobby West" info ${lobby})
foreach(line "version: 3" "power user permitted: yes" "file operation: 7"
        "administrator code: set" "power-user code: set")
    string(FIND "${last_output}" "${line}" found)
    if(found EQUAL -1)
        message(SEND_ERROR "info lacks \"${line}\": ${last_output}")
    endif()
endforeach()
string(FIND "${last_output}" "argon2" found)
if(NOT found EQUAL -1)
    message(SEND_ERROR "info shows a hash: ${last_output}")
endif()
file(READ ${lobby} stored)
foreach(code 1234 0000)
    string(FIND "${stored}" "\"${code}\"" found)
    if(NOT found EQUAL -1)
        message(SEND_ERROR "the file holds the code ${code} in clear")
    endif()
endforeach()

expect(0 "opens it as Administrator" check ${lobby} --level admin --code 1234)
expect(1 "does not open it as Administrator" check ${lobby} --level admin --code 0000)
expect(1 "does not open" check ${lobby} --level admin --code=)
expect(0 "opens it as Power User" check ${lobby} --level power-user --code 0000)
expect(0 "opens it as Power User" check ${lobby} --level power-user --code 1234)
expect(1 "does not open it as Power User" check ${lobby} --level power-user --code 9999)

set(desk ${WORKDIR}/desk.qvksk)
expect(0 "created" create ${desk} --title Desk --version 2 --admin-code 4321)
expect(1 "Power User is not permitted" check ${desk} --level power-user --code 4321)
expect(0 "power user permitted: no" info ${desk})

# Errors: exit 2 with one line.
expect(2 "does not exist" check ${WORKDIR}/missing.qvksk --level admin --code 1)
expect(2 "--level is admin or power-user" check ${lobby} --level root --code 1234)
expect(2 "needs FILE, --level and --code" check ${lobby} --level admin)
expect(2 "needs OUT, --title and --version" create ${WORKDIR}/x.qvksk --version 3)
expect(2 "--version needs a whole number" create ${WORKDIR}/x.qvksk --title X --version 3x)
expect(2 "needs a code" create ${WORKDIR}/x.qvksk --title X --version 3 --admin-code=)
expect(2 "unknown option --colour" create ${WORKDIR}/x.qvksk --title X --version 3 --colour red)
expect(2 "cannot write" create ${WORKDIR}/no/such/folder.qvksk --title X --version 3)
expect(2 "unknown command" frobnicate)
if(EXISTS ${WORKDIR}/x.qvksk)
    message(SEND_ERROR "a refused create left a file behind")
endif()

foreach(command create info check)
    expect(0 "Usage: qvksk ${command}" ${command} --help)
endforeach()
expect(0 "Commands:" --help)

# The samples the build made.
expect(0 "opens it as Administrator" check ${SAMPLES}/lobby.qvksk --level admin --code 1234)
expect(0 "opens it as Power User" check ${SAMPLES}/lobby.qvksk --level power-user --code 0000)
expect(0 "opens it as Power User" check ${SAMPLES}/open.qvksk --level power-user --code=)
expect(1 "Power User is not permitted" check ${SAMPLES}/adminonly.qvksk --level power-user --code 1234)
expect(2 "opens 1 to 3" check ${SAMPLES}/newer.qvksk --level admin --code 1234)
expect(0 "version: 0" info ${SAMPLES}/versionzero.qvksk)
expect(2 "is not a controller file" info ${SAMPLES}/otherformat.qvksk)
expect(2 "invalid or missing field" info ${SAMPLES}/invalid.qvksk)
