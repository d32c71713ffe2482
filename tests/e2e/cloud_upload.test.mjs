// Cloud publishing in a real browser: signed in as the first administrator, the navigation
// bar's upload link, then the four steps in order, the log growing newest first while the page
// timer refreshes it, and the buttons following the steps.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startServer, openBrowser } from './harness.mjs';

let server;
let b;

before(async () => {
  server = await startServer({ binary: process.env.ZEZIZA_CLOUD_TEST_SERVER });
  b = await openBrowser();
});
after(async () => {
  await b?.close();
  await server?.stop();
});

// The log lines as shown, oldest first, without their time stamps (each "HH:MM:SS ").
async function logLines(page) {
  const text = await page.inputValue('#logmemo');
  const lines = text.split('\n').filter((l) => l.includes('>>'));
  for (const l of lines) assert.match(l, /^\d{2}:\d{2}:\d{2} >>/);
  return lines.map((l) => l.slice(l.indexOf('>>')));
}

// Waits while the page timer submits the page, until the log ends with `last`.
async function waitForLog(page, last) {
  for (let i = 0; i < 120; i++) {
    try {
      await b.settled();
      const lines = await logLines(page);
      if (lines.at(-1) === last && !(await page.isDisabled('#rosterbutton'))) return lines;
    } catch {
      // the timer's submission replaced the page under us; look again
    }
    await page.waitForTimeout(500);
  }
  throw new Error('the log never ended with ' + last);
}

test('cloud upload journey', async () => {
  const { page, dialogs } = b;
  await page.goto(server.url + '/');
  await page.waitForFunction(() => document.title === '系统登录');
  await b.settled();
  await page.fill('#adminnameedit', '校长');
  await page.fill('#adminpasswordedit', 'geheim');
  await page.fill('#adminrepeatedit', 'geheim');
  await b.submitBy('#createadminbutton');
  dialogs.length = 0;
  await page.fill('#usernameedit', '校长');
  await page.fill('#passwordedit', 'geheim');
  await b.submitBy('#signinbutton');
  await b.submitBy('#navigationbar\\.uploadlink');
  assert.equal(await page.title(), '上传成绩');
  assert.equal(await page.textContent('#verifytitle'), '第一步：验证云端用户[未完成]');
  assert.ok(await page.isDisabled('#preparebutton'));

  await page.fill('#accountedit', '1');
  await page.fill('#passwordedit', 'secret');
  await b.submitBy('#verifybutton');
  assert.deepEqual(dialogs, []);
  assert.equal(await page.textContent('#verifytitle'), '第一步：验证云端用户[已完成]');
  assert.ok(await page.isEnabled('#preparebutton'));

  await b.submitBy('#preparebutton');
  let lines = await waitForLog(page, '>>梳理循环数据结束');
  assert.equal(await page.textContent('#preparetitle'), '第二步：数据准备[已完成]');
  assert.ok(await page.isEnabled('#publishbutton'));

  await b.submitBy('#rosterbutton');
  lines = await waitForLog(page, '>>上传学生花名册完成');

  await b.submitBy('#publishbutton');
  lines = await waitForLog(page, '>>上报完成！');
  const order = ['>>开始云端身份验证', '>>完成云端身份验证', '>>生成本地成绩表', '>>梳理循环数据结束',
                 '>>开始上传学生花名册', '>>上传学生花名册完成', '>>获得项目ID', '>>上报完成！'];
  const positions = order.map((line) => lines.indexOf(line));
  assert.ok(positions.every((p, i) => p >= 0 && (i === 0 || p > positions[i - 1])), lines.join('\n'));
  assert.ok(lines.includes('>>上传数据:东校区初一一班数学'), lines.join('\n'));
  assert.match(await page.textContent('#sentcount'), /^已发送\d+行$/);
  // The log box shows its newest lines.
  assert.ok(await page.$eval('#logmemo', (t) => t.scrollTop + t.clientHeight >= t.scrollHeight - 2));
  assert.deepEqual(dialogs, []);
});
