// Memory switch bank 1 (MSW1-1 to MSW1-8).
#pragma once

#include "MswPage.h"

class CPage_MSW1 : public CMswPage {
public:
    explicit CPage_MSW1(qv::MswValues& values);
};
