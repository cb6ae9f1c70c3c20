// Resource ids of Harnex.arx: dialog templates and their controls.
#pragma once
