// std_streams.cpp -- closed standard descriptors filled with /dev/null.
#include "platform/std_streams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

void OpenClosedStandardStreams()
{
    // open() takes the lowest free number: going up from 0, each one fills the gap it found.
    for (int fd = 0; fd <= 2; fd++) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        int opened = open("/dev/null", O_RDWR);
        if (opened != -1 && opened != fd)
            close(opened);
    }
}
